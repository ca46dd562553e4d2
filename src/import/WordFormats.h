// SPDX-License-Identifier: Apache-2.0
#pragma once

// Internal to the Word reader. No libgsf or glib header comes in here: the reader's .cpp files
// include libgsf first and this header after it.

#include "import/WordReader.h"

#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <memory>
#include <vector>

typedef struct _GsfInput GsfInput;
typedef struct _GsfInfile GsfInfile;

namespace WordReader::detail {

/**
 * The most XML a package's main part may inflate to. An invoice holds well under 1 MiB of
 * text; a larger part is refused (TooLarge) before it is inflated into memory.
 */
constexpr qint64 kMaxDocumentSize = qint64(32) << 20;

/**
 * The deepest nesting of elements a package part may have. Real documents nest a few dozen
 * levels (a table in a table adds five); a deeper part is refused (TooDeep).
 */
constexpr int kMaxDepth = 512;

/** Drops one reference of a libgsf object (GObject). */
void releaseObject(void* object);

struct ObjectRelease {
    void operator()(void* object) const { releaseObject(object); }
};
template <typename T> using ObjectRef = std::unique_ptr<T, ObjectRelease>;

/** Raises the reader's failure of the given kind; `reason` tells the developer what was wrong. */
[[noreturn]] void refuse(ReadError kind, const QString& reason = {});

/** Body text of the document in `input`, the kind told by its first bytes. */
QString readDocument(GsfInput* input);
/** Body text of a Word 97-2003 binary document (OLE2 compound file). */
QString readBinaryDocument(GsfInput* input);
/** Body text of a zip package: WordprocessingML, or OpenDocument text told by its mimetype. */
QString readOpenXmlDocument(GsfInput* input);
/** Whether the zip is an OpenDocument text package: its mimetype entry says so. */
bool isOpenDocumentText(GsfInfile* zip);
/** Body text of an OpenDocument text package (its content.xml). */
QString readOpenDocumentText(GsfInfile* zip);
/** Body text of a PDF file with a text layer, each line rebuilt from the glyphs' places. */
QString readPdfDocument(GsfInput* input);

/** The package part at `path` (segments from the package root), or null. */
ObjectRef<GsfInput> partAt(GsfInfile* zip, const QStringList& path);

/**
 * The package part at `path` to read whole; refuses the document when the part is missing or
 * would inflate past kMaxDocumentSize.
 */
ObjectRef<GsfInput> openPart(GsfInfile* zip, const QStringList& path);

/**
 * Hands a package part to the XML reader in chunks; refuses the document when the zip fails
 * or its elements nest deeper than kMaxDepth. The XML reader keeps every open element, and the
 * walks of a part recurse once a level, so the limit bounds the memory and the stack that any
 * part takes, skipped elements included.
 */
class PartFeeder {
public:
    PartFeeder(GsfInput* part, QXmlStreamReader& xml);

    /** The next token; more of the part is read when the reader runs out of data. */
    QXmlStreamReader::TokenType next();
    /** Moves to the next start of an element; false at the end of the part. */
    bool nextStart();
    /** Moves to the next child of the current element; false at the element's end. */
    bool nextChild();
    /** Skips the current element, its children included. */
    void skipElement();

private:
    bool feed();

    GsfInput* m_part;
    QXmlStreamReader& m_xml;
    QByteArray m_buffer;
    int m_depth = 0;
};

/** The child of `dir` whose name equals `name` regardless of case, or null (new reference). */
GsfInput* childNamed(GsfInfile* dir, QStringView name);

/**
 * The fields open at the current point of the text. Text inside a field's instruction (before
 * its separator) is written on and then dropped again when the instruction ends: whatever was
 * written since the outermost instruction began falls back. A field left open at the end of
 * the story therefore reads as if its field characters were not there.
 */
class FieldStack {
public:
    void begin(qsizetype outputLength)
    {
        if (m_codeDepth++ == 0)
            m_mark = outputLength;
        m_inCode.push_back(true);
    }
    /** The length the output falls back to, or -1 when it stays. */
    qsizetype separate()
    {
        if (m_inCode.empty() || !m_inCode.back())
            return -1; // a stray separator
        m_inCode.back() = false;
        return --m_codeDepth == 0 ? m_mark : -1;
    }
    /** The length the output falls back to, or -1 when it stays. */
    qsizetype end()
    {
        if (m_inCode.empty())
            return -1; // a stray end
        const bool inCode = m_inCode.back();
        m_inCode.pop_back();
        return inCode && --m_codeDepth == 0 ? m_mark : -1;
    }

private:
    std::vector<bool> m_inCode;
    qsizetype m_codeDepth = 0;
    qsizetype m_mark = 0;
};

} // namespace WordReader::detail
