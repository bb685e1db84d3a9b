/* shapelib as a writing peer of the table tests:
 *     shp_table <rows file> <table>
 * The rows file is as for tdbf_table.pas. Text goes in as its bytes; a blank
 * number is written as shapelib's NULL. The language byte is Windows-1250. */
#include <shapefil.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { kMaxFields = 32, kMaxLine = 4096 };

static int split(char* line, char** parts, int max)
{
    int n = 0;
    line[strcspn(line, "\r\n")] = '\0';
    for (char* p = line; n < max; ++n) {
        parts[n] = p;
        p = strchr(p, '\t');
        if (!p)
            return n + 1;
        *p++ = '\0';
    }
    return n;
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: shp_table <rows file> <table>\n");
        return 2;
    }
    FILE* in = fopen(argv[1], "rb");
    DBFHandle table = in ? DBFCreateEx(argv[2], "LDID/200") : NULL;
    if (!table) {
        perror(argv[1]);
        return 1;
    }
    char line[kMaxLine];
    char* layouts[kMaxFields];
    char types[kMaxFields];
    if (!fgets(line, sizeof line, in))
        return 1;
    const int fields = split(line, layouts, kMaxFields);
    for (int f = 0; f < fields; ++f) {
        char name[16];
        int width = 0;
        int decimals = 0;
        if (sscanf(layouts[f], "%15s %c %d %d", name, &types[f], &width, &decimals) != 4)
            return 1;
        const DBFFieldType type = types[f] == 'C' ? FTString : decimals ? FTDouble : FTInteger;
        if (DBFAddField(table, name, type, width, decimals) < 0)
            return 1;
    }
    for (int row = 0; fgets(line, sizeof line, in); ++row) {
        char* values[kMaxFields + 1];
        if (split(line, values, kMaxFields + 1) != fields + 1)
            return 1;
        for (int f = 0; f < fields; ++f) {
            const char* v = values[f + 1];
            int ok;
            if (types[f] == 'C')
                ok = DBFWriteStringAttribute(table, row, f, v);
            else if (*v == '\0')
                ok = DBFWriteNULLAttribute(table, row, f);
            else
                ok = DBFWriteDoubleAttribute(table, row, f, atof(v));
            if (!ok)
                return 1;
        }
        if (values[0][0] == '*' && !DBFMarkRecordDeleted(table, row, 1))
            return 1;
    }
    DBFClose(table);
    fclose(in);
    return 0;
}
