#pragma once

// Names of the instrument's measurement units, indexed by unit code 0..9.
extern const char* const UnitTable[10];
// Names of the frequency units, indexed by a series' frequency unit (0 Hz, 1 RPM).
extern const char* const FreqUnitTable[2];

// Safe lookups: codes outside the tables give "?".
const char* UnitName(int code);
const char* FreqUnitName(int code);
