#pragma once

// A position or displacement as the generators take it.
struct Point3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};
