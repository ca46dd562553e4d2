#pragma once

// Internal to the Word reader. No libgsf or glib header comes in here: the reader's .cpp files
// include libgsf first and this header after it.

#include "import/WordReader.h"

#include <QString>

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
/** Body text of a WordprocessingML package (zip). */
QString readOpenXmlDocument(GsfInput* input);

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
