// Writes two large Universal Files into the folder given: a model of 3000 nodes with one shape
// over all of them, followed by 10000 empty shapes (one file) or 9000 shapes of one node each
// (the other). A reader that gives every shape a series with a measurement for every direction
// needs gigabytes for either; the fuzzer starts from them to keep that from coming back.
#include <cstdio>
#include <string>

namespace {

std::string Model(int nodes) {
    std::string s = "    -1\n  2411\n";
    char buf[128];
    for (int n = 1; n <= nodes; ++n) {
        std::snprintf(buf, sizeof buf, "%10d%10d%10d%10d\n%25.16E%25.16E%25.16E\n", n, 1, 1, 11,
                      0.0, 0.0, double(n));
        s += buf;
    }
    return s + "    -1\n";
}

std::string Shape(int from, int to) {
    std::string s = "    -1\n    55\nshape\nNONE\nNONE\nNONE\nNONE\n"
                    "         1         5         2         8         5         3\n"
                    "         2         1         1         1\n  1.00000E+01\n";
    char buf[128];
    for (int n = from; n <= to; ++n) {
        std::snprintf(buf, sizeof buf, "%10d\n%13.5E%13.5E%13.5E%13.5E%13.5E%13.5E\n", n, 1.0, 0.0,
                      1.0, 0.0, 1.0, 0.0);
        s += buf;
    }
    return s + "    -1\n";
}

bool Write(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const std::string dir = argv[1];
    std::string empty = Model(3000) + Shape(1, 3000), sparse = empty;
    for (int k = 0; k < 10000; ++k)
        empty += Shape(1, 0);
    for (int k = 1; k <= 9000; ++k)
        sparse += Shape(k % 3000 + 1, k % 3000 + 1);
    return Write(dir + "/empty-shapes.uff", empty) && Write(dir + "/sparse-shapes.uff", sparse) ? 0
                                                                                                : 1;
}
