#pragma once

#include "UffContent.h"
#include "UffReader.h"

#include <functional>

class CQuivraDoc;

// Adds a read Universal File to a document in two phases: everything that can fail (a refusal,
// an allocation) happens while the new records are held here, outside the document; then they
// are handed over by steps that cannot fail. So a refused or failed import leaves the scene as
// it was.
class UffSceneBuilder {
public:
    // `scale` multiplies every length (and length-based value) of the file.
    UffSceneBuilder(const UffContent& content, CQuivraDoc& doc, double scale,
                    UffReader::Summary& summary);

    // Throws UffError on a refusal and std::bad_alloc when memory runs out; the document is
    // changed only when it returns.
    void Build(const std::function<void()>& beforeChange);

    // Most measurements an import may add beyond what the file's own values call for: every
    // new series takes one per direction of the scene, and every new direction one per series,
    // so sparse shapes over many points would otherwise grow as their product.
    static constexpr long long kMeasurementAllowance = 8000000;

private:
    struct Impl;
    const UffContent& m_content;
    CQuivraDoc& m_doc;
    double m_scale;
    UffReader::Summary& m_summary;
};
