#pragma once

#include <QString>

// The units a Universal File states: the length unit of dataset 164 (as "file units per metre",
// the factor the format stores) and the physical quantity of a shape (the specific data type of
// datasets 55 and 2414). The scene has no unit of its own; the user says which one it is in.
class UffUnits {
public:
    enum Length { Millimetre, Metre, Inch };
    enum Quantity { Unknown, Displacement, Velocity, Acceleration };

    // "mm", "m", "in"; ParseLength takes the same names.
    static QString LengthName(Length unit);
    static bool ParseLength(const QString& text, Length* unit);
    // "unknown", "displacement", "velocity", "acceleration".
    static QString QuantityName(Quantity quantity);
    static bool ParseQuantity(const QString& text, Quantity* quantity);

    // File units per metre: 1000 for millimetres, 1 for metres, 39.37... for inches.
    static double LengthFactor(Length unit);
    // Dataset 164's units code and description for a length unit.
    static int UnitsCode(Length unit);
    static const char* UnitsDescription(Length unit);
    // The rest of that unit system's factors: force, temperature, temperature offset.
    static void OtherFactors(Length unit, double* force, double* temperature, double* offset);
    // The specific data type code of datasets 55/2414: 0, 8, 11, 12.
    static int DataTypeCode(Quantity quantity);
    // The quantity of a specific data type code; Unknown for codes other than 8, 11, 12.
    static Quantity QuantityOfCode(long long code);

    // Names a length factor: "mm", "m", "in", "ft", "cm", or "1/1234.5 m" for anything else.
    static QString DescribeFactor(double unitsPerMetre);
};
