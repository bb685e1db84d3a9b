/* shapelib's full scan, the peer of dbf_scan_bench's: every field of every
 * record read as its type, deleted flag included.
 *     shp_scan <table>    prints "records CPU-seconds checksum" */
#include <shapefil.h>

#include <stdio.h>
#include <string.h>
#include <time.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: shp_scan <table>\n");
        return 2;
    }
    struct timespec start, end;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
    DBFHandle table = DBFOpen(argv[1], "rb");
    if (!table) {
        perror(argv[1]);
        return 1;
    }
    const int records = DBFGetRecordCount(table);
    const int fields = DBFGetFieldCount(table);
    DBFFieldType types[256];
    for (int f = 0; f < fields && f < 256; ++f)
        types[f] = DBFGetFieldInfo(table, f, NULL, NULL, NULL);
    double sum = 0;
    for (int r = 0; r < records; ++r) {
        for (int f = 0; f < fields; ++f) {
            if (types[f] == FTString)
                sum += (double)strlen(DBFReadStringAttribute(table, r, f));
            else if (types[f] == FTInteger)
                sum += DBFReadIntegerAttribute(table, r, f);
            else
                sum += DBFReadDoubleAttribute(table, r, f);
        }
        sum += DBFIsRecordDeleted(table, r);
    }
    DBFClose(table);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
    printf("%d %.6f %.1f\n", records, (double)(end.tv_sec - start.tv_sec) + (double)(end.tv_nsec - start.tv_nsec) / 1e9, sum);
    return 0;
}
