#include "texts/NotePage.h"

namespace texts {

// The six pages of the notes window, in tab order. Every line is kept as it
// stands, leading and trailing spaces and runs of blanks included.
const std::vector<NotePage>& NotePage::all()
{
    static const std::vector<NotePage> pages = {
        {"EOT", "Memo5", 0x00C9FEFD, false,
         {
             "Oznaczanie urzadzeń.",
             "EOT- 1......  - nie produkowany",
             "EOT- 3 ..... jeden lub dwa odbiorniki",
             "EOT- 5..... nadajnik SOT-22 i odbiornik SOT-21 lub SOT-22",
             "EOT- 6... nadajnik SOT-22",
             "EOT- 7... nadajnik SOT-21",
             "EOT-9... nadajnik SOT-21 ( EOT-9..1- nad. dużej mocy)",
             "Druga i trzecia cyfra - cz.nadajnika lub odb. o niższej ",
             "częstotliwości.",
             "Czwarta i piąta cyfra - cz. drugiego odb. lub 00 gdy jest ",
             "tylko 1 odbiornik.",
             "Tylko dwie druga i trzecia - sam nadajnik.",
             "Ostatnia - wyróżnik typu.",
         }},
        {"EOT-3", "Memo3", 0x00C9FEFD, true,
         {
             "Odbiorniki SOT-21 posiadają wykonania współpracujące ",
             "z przekaźnikami JRV 10207 ( na 4.5V ).",
             "Wykonania te posiadają oznaczenia MER-111401/1A - ",
             "6A, a urz. EOT-3  zawierają ostatnią cyfrę \"1\" (np.  EOT - ",
             "315001 )",
         }},
        {"EOT-5", "Memo4", 0x00D2FFFF, true,
         {
             "Odbiorniki SOT-21 posiadają wykonania współpracujące ",
             "z przekaźnikami JRV 10207 ( na 4.5V ).",
             "Wykonania te posiadają oznaczenia MER-111401/1A - ",
             "6A, a urz. EOT-5  zawierają ostatnią cyfrę \"1\" (np.  EOT - ",
             "315001 )",
         }},
        {"EOT - 7", "Memo2", 0x00C9FEFD, true,
         {
             "                                UWAGA  !!!",
             "Istnieją różnice pomiędzy wykazem a DTR :",
             "",
             "W/g DTR- 94  EOT-7210 posiada MER 111702/2 a nie /3 ",
             "natomiast EOT-7240 opsiada MER-111702/3 a nie  /2.",
             "",
             "W/g arkusza X-4-01258 :",
             "EOT-7150 ; MER-111702/1",
             "EOT-7180 ; MER-111702/2",
             "EOT-7210 ; MER-111702/3",
             "EOT-7280 ; MER-111702/4",
             "",
             "WNIOSEK ? : Patrz na kolor płyty.",
         }},
        {"EOT - 9", "Memo1", 0x00C9FEFD, true,
         {
             "Nadajniki EOT-9 z końcową liczbą \" 0 \" (np. EOT-9150) ",
             "mają moc wyjściową jak nadajniki EOT-1 lub  EOT7. ",
             "",
             "Odmiany zakończone cyfrą \" 1 \" ( EOT-9151) posiadają ",
             "zespoły MER oznaczone na końcy literą \" A \" i posiadają ",
             "większą moc wyjściową. Są one stosowane w lin. obw. ",
             "SOT-1.",
         }},
        {"Nowości", "Memo6", 0x00C9FEFD, false,
         {
             "Uzyskano zgodę na produkcję:",
             " - SOT-2 o częstotliwościach 7 i 16,8 kHz.",
             " - odb. MER 111709/1-6 ",
             " - odb. MER 111712/1-6",
             " - nad. MER 111701/5-6",
             " - urz. EOT-8 i EOZ-5",
             " - stosowanie urz. SOT w rozjazdach krzyżowych ",
         }},
    };
    return pages;
}

QStringList NotePage::text() const
{
    QStringList out;
    for (const char* line : lines)
        out << QString::fromUtf8(line);
    return out;
}

} // namespace texts
