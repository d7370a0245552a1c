#include "UffReader.h"

#include "RegularFile.h"
#include "UffContent.h"
#include "UffParser.h"
#include "UffSceneBuilder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <new>
#include <stdexcept>

namespace {

// Runs `step`; a refusal or running out of memory (anywhere: reading, building, Qt's own
// objects) becomes false and a message.
template <class F> bool Guarded(const QString& name, QString* error, F step) {
    QString why;
    try {
        step();
        return true;
    } catch (const UffError& e) {
        why = e.Text();
    } catch (const std::bad_alloc&) {
        why = QStringLiteral("there is not enough memory to import it");
    } catch (const std::length_error&) {
        why = QStringLiteral("there is not enough memory to import it");
    }
    if (error)
        *error =
            name.isEmpty() ? why : QStringLiteral("\"%1\" cannot be imported: %2").arg(name, why);
    return false;
}

} // namespace

UffReader::UffReader() = default;
UffReader::~UffReader() = default;

bool UffReader::Read(QIODevice& in, QString* error) {
    m_content.reset();
    return Guarded(m_name, error, [&] {
        auto content = std::make_unique<UffContent>();
        UffParser::Parse(in, *content);
        m_content = std::move(content);
    });
}

bool UffReader::ReadFile(const QString& path, QString* error) {
    m_content.reset();
    m_name = path;
    QString why;
    Guarded(path, &why, [&] {
        QFile f;
        QString whyNot;
        if (!RegularFile::OpenForReading(f, path, &whyNot)) {
            why = whyNot == RegularFile::NotRegularReason()
                      ? QStringLiteral("Cannot import \"%1\": %2.").arg(path, whyNot)
                      : QStringLiteral("Cannot open \"%1\": %2").arg(path, whyNot);
            return;
        }
        Read(f, &why);
    });
    if (m_content)
        return true;
    if (error)
        *error = why;
    return false;
}

double UffReader::LengthPerMetre() const {
    return m_content ? m_content->lengthPerMetre : 0.0;
}

bool UffReader::AddTo(CQuivraDoc& doc, const Options& options, Summary* summary, QString* error,
                      const std::function<void()>& beforeChange) {
    return Guarded(m_name, error, [&] {
        if (!m_content)
            throw UffError(QStringLiteral("nothing was read"));
        Summary s;
        const double file = m_content->lengthPerMetre;
        if (file > 0) {
            s.lengthUnit = UffUnits::DescribeFactor(file);
            if (options.convert)
                s.scale = UffUnits::LengthFactor(options.length) / file;
            if (s.scale != 1.0)
                s.notes.append(QStringLiteral("lengths converted from %1 to %2 (x %3)")
                                   .arg(s.lengthUnit, UffUnits::LengthName(options.length))
                                   .arg(s.scale, 0, 'g', 10));
        } else if (options.convert) {
            s.notes.append(QStringLiteral("the file states no length unit (dataset 164); its "
                                          "lengths were taken as they are"));
        }
        UffSceneBuilder(*m_content, doc, s.scale, s).Build(beforeChange);
        if (summary)
            *summary = std::move(s);
    });
}

bool UffReader::Import(const QByteArray& data, CQuivraDoc& doc, Summary* summary, QString* error,
                       const std::function<void()>& beforeChange) {
    bool ok = false;
    const bool ran = Guarded(QString(), error, [&] {
        QByteArray bytes = data; // shared, not copied
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        UffReader reader;
        ok = reader.Read(buffer, error) &&
             reader.AddTo(doc, Options{}, summary, error, beforeChange);
    });
    return ran && ok;
}

bool UffReader::ImportFile(const QString& path, CQuivraDoc& doc, Summary* summary, QString* error,
                           const std::function<void()>& beforeChange) {
    bool ok = false;
    const bool ran = Guarded(QString(), error, [&] {
        UffReader reader;
        ok = reader.ReadFile(path, error) &&
             reader.AddTo(doc, Options{}, summary, error, beforeChange);
    });
    return ran && ok;
}
