#include "UffUnits.h"

#include <cmath>

namespace {

struct LengthRow {
    UffUnits::Length unit;
    const char* name;
    double perMetre;
    int code;                // dataset 164 units code
    const char* description; // dataset 164 units description
    double force, temperature, offset;
};

// The codes are the format's unit systems: 1 SI (m, N), 5 MM (mm, mN), 7 IN (in, lbf).
const LengthRow kLengths[] = {
    {UffUnits::Millimetre, "mm", 1000.0, 5, "MM (milli-newton)", 1000.0, 1.0, 273.15},
    {UffUnits::Metre, "m", 1.0, 1, "SI", 1.0, 1.0, 273.15},
    {UffUnits::Inch, "in", 1.0 / 0.0254, 7, "IN (pound f)", 0.2248089430997105, 1.8, 459.67},
};

const char* const kQuantities[] = {"unknown", "displacement", "velocity", "acceleration"};
const int kQuantityCodes[] = {0, 8, 11, 12};

const LengthRow& Row(UffUnits::Length unit) {
    for (const LengthRow& r : kLengths)
        if (r.unit == unit)
            return r;
    return kLengths[0];
}

} // namespace

QString UffUnits::LengthName(Length unit) {
    return QString::fromLatin1(Row(unit).name);
}

bool UffUnits::ParseLength(const QString& text, Length* unit) {
    for (const LengthRow& r : kLengths)
        if (text == QLatin1String(r.name)) {
            *unit = r.unit;
            return true;
        }
    return false;
}

QString UffUnits::QuantityName(Quantity quantity) {
    return QString::fromLatin1(kQuantities[quantity]);
}

bool UffUnits::ParseQuantity(const QString& text, Quantity* quantity) {
    for (int q = Unknown; q <= Acceleration; ++q)
        if (text == QLatin1String(kQuantities[q])) {
            *quantity = static_cast<Quantity>(q);
            return true;
        }
    return false;
}

double UffUnits::LengthFactor(Length unit) {
    return Row(unit).perMetre;
}
int UffUnits::UnitsCode(Length unit) {
    return Row(unit).code;
}
const char* UffUnits::UnitsDescription(Length unit) {
    return Row(unit).description;
}
void UffUnits::OtherFactors(Length unit, double* force, double* temperature, double* offset) {
    const LengthRow& r = Row(unit);
    *force = r.force;
    *temperature = r.temperature;
    *offset = r.offset;
}

int UffUnits::DataTypeCode(Quantity quantity) {
    return kQuantityCodes[quantity];
}

UffUnits::Quantity UffUnits::QuantityOfCode(long long code) {
    for (int q = Displacement; q <= Acceleration; ++q)
        if (code == kQuantityCodes[q])
            return static_cast<Quantity>(q);
    return Unknown;
}

QString UffUnits::DescribeFactor(double unitsPerMetre) {
    static const struct {
        const char* name;
        double perMetre;
    } known[] = {
        {"mm", 1000.0}, {"m", 1.0}, {"in", 1.0 / 0.0254}, {"ft", 1.0 / 0.3048}, {"cm", 100.0}};
    for (const auto& k : known)
        if (std::fabs(unitsPerMetre - k.perMetre) <= 1e-6 * k.perMetre)
            return QString::fromLatin1(k.name);
    return QStringLiteral("1/%1 m").arg(unitsPerMetre, 0, 'g', 10);
}
