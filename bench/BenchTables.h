#pragma once

#include <QString>

// The tables the scan benchmarks read, in the layouts of the installation's
// section, module and frequency tables. Made once into the build directory
// (or $OBW_BENCH_TABLES) and reused while their row count matches.
class BenchTables {
public:
    static QString sections(int rows);
    static QString modules(int rows);
    static QString frequencies(int rows);

private:
    static QString directory();
};
