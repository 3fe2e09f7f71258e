/* Prints the reference's table of item tags, from the property table itself, so that the
   reference lists every row the expert sets and nothing else. Run by the build: the output
   is the file named by the one argument. */
#include "qxzeva/qxzeva_c.h"

#include <stdio.h>

/* What each kind of source in the table gives, for a reader. */
#define QX_VALUE_SERIAL "the serial number as eight upper-case hexadecimal digits"
#define QX_VALUE_ITEM_NAME "the item name as the caller wrote it"
#define QX_VALUE_MODEL "the board name without a leading \"ZEVA \""
#define QX_VALUE_PCI_ID_HIGH "the upper 16 bits of the PCI identifier"
#define QX_VALUE_PCI_ID_LOW "the lower 16 bits of the PCI identifier"
#define QX_VALUE_DRIVER_VERSION "the driver's version"
#define QX_VALUE_BOARD(member) "the board's " #member
#define QX_VALUE_FIXED(value) "always " #value
#define QX_VALUE_TEXT(text) "always \"" text "\""

struct qxTagRow {
    const char* constant;
    uint32_t tag;
    const char* typeName;
    int type;
    const char* label;
    const char* value;
};

#define QX_ROW(constant, tag, type, label, jsonKey, source)                                        \
    {#constant, tag, #type, type, label, QX_VALUE_##source},
static const struct qxTagRow k_rows[] = {QXZEVA_PROPERTY_TABLE(QX_ROW)};
#undef QX_ROW

int main(int argc, char** argv) {
    FILE* out = argc == 2 ? fopen(argv[1], "w") : NULL;
    size_t i;
    if (out == NULL)
        return 1;
    fprintf(out, "| Tag | Constant | Type | What it is | Value |\n|---|---|---|---|---|\n");
    for (i = 0; i < sizeof k_rows / sizeof k_rows[0]; ++i)
        fprintf(out, "| 0x%08X | %s | %s (%d) | %s | %s |\n", (unsigned)k_rows[i].tag,
                k_rows[i].constant, k_rows[i].typeName, k_rows[i].type, k_rows[i].label,
                k_rows[i].value);
    return fclose(out) == 0 ? 0 : 1;
}
