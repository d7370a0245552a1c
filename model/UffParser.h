#pragma once

#include "UffContent.h"

class QIODevice;

// Reads the datasets of a Universal File that a scene can use: nodes (15, 2411), coordinate
// systems (18, 2420), units (164), trace lines (82) and data at nodes (55, 2414). Fields are
// read by column as the format defines them, and by blank-separated words where a loose writer
// did not keep the columns. Function data (58, 58b) and anything else is skipped and listed.
// Every dataset must end with its "    -1"; a file that breaks off is refused.
class UffParser {
public:
    // Throws UffError naming the dataset and line; std::bad_alloc when memory runs out.
    static void Parse(QIODevice& in, UffContent& out);
};
