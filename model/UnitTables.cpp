#include "UnitTables.h"

const char* const UnitTable[10] = {"m/s2", "g",  "mm/s", "m/s",  "in/s",
                                   "um",   "mm", "mils", "thou", "mv"};
const char* const FreqUnitTable[2] = {"Hz", "RPM"};

const char* UnitName(int code) {
    return code >= 0 && code < 10 ? UnitTable[code] : "?";
}

const char* FreqUnitName(int code) {
    return code >= 0 && code < 2 ? FreqUnitTable[code] : "?";
}
