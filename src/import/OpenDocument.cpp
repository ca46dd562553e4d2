// SPDX-License-Identifier: Apache-2.0
// OpenDocument text packages: the body of content.xml, read through the same zip and XML
// reading as WordprocessingML. libgsf comes before any Qt header (glib's `signals`).
#include "import/GsfLibrary.h"

#include "import/WordFormats.h"

#include <algorithm>
#include <cstring>

namespace WordReader::detail {
namespace {

const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
constexpr char kTextMimeType[] = "application/vnd.oasis.opendocument.text";
constexpr gsf_off_t kTextMimeTypeSize = sizeof kTextMimeType - 1;

/**
 * Walks office:body/office:text of content.xml and collects its text as the Word reader gives
 * a body: each paragraph, heading and table-cell paragraph ended by a carriage return.
 *
 * Blanks follow the package's own rule: a space, tab or line end in the character data is one
 * blank, dropped at the start of a paragraph and after another such blank (not after a text:s,
 * a tab or a line break, which are elements, nor after a no-break space, which is no white
 * space); runs of blanks are written as text:s (text:c of them), tabs as text:tab, line breaks
 * as text:line-break.
 */
class ContentWalker {
public:
    ContentWalker(GsfInput* part)
        : m_feeder(part, m_xml)
    {
        m_xml.setNamespaceProcessing(true);
    }

    QString run()
    {
        if (!m_feeder.nextStart() || m_xml.namespaceUri() != kOffice ||
            m_xml.name() != u"document-content")
            refuse(NotWordDocument, QStringLiteral("content.xml no es un documento"));
        if (enter(u"body") && enter(u"text"))
            walkChildren();
        return std::move(m_text);
    }

private:
    /** Moves into the child of the current element in the office namespace with that name. */
    bool enter(QStringView name)
    {
        while (m_feeder.nextChild()) {
            if (m_xml.namespaceUri() == kOffice && m_xml.name() == name)
                return true;
            m_feeder.skipElement();
        }
        return false;
    }

    void walkChildren()
    {
        while (m_feeder.nextChild())
            element();
    }

    void element()
    {
        const QStringView ns = m_xml.namespaceUri();
        const QStringView name = m_xml.name();
        if (ns == kText) {
            if (name == u"p" || name == u"h")
                paragraph();
            else if (isSkipped(name))
                m_feeder.skipElement();
            else // lists, sections, indexes, and inside paragraphs spans, links, fields
                inline_();
        } else if (ns == kTable) {
            // Tables, rows, cells and their groups; covered cells of merged ones hold nothing.
            if (name == u"table-columns" || name == u"table-column" ||
                name == u"covered-table-cell")
                m_feeder.skipElement();
            else
                inline_();
        } else {
            // Frames and their text boxes, annotations, forms, change tracking (the deleted text).
            m_feeder.skipElement();
        }
    }

    static bool isSkipped(QStringView name)
    {
        // Notes (their citation and body), deleted text kept for change tracking, phonetic
        // guides, declarations, hidden text.
        static const QStringView kSkipped[] = {u"note",
                                               u"tracked-changes",
                                               u"ruby-text",
                                               u"sequence-decls",
                                               u"variable-decls",
                                               u"user-field-decls",
                                               u"dde-connection-decls",
                                               u"hidden-text",
                                               u"hidden-paragraph",
                                               u"index-title-template",
                                               u"table-of-content-source",
                                               u"alphabetical-index-source"};
        return std::find(std::begin(kSkipped), std::end(kSkipped), name) != std::end(kSkipped);
    }

    void paragraph()
    {
        m_dropBlank = true;
        inline_();
        m_text.append(QLatin1Char('\r'));
    }

    /** The content of the current element: character data and elements, up to its end. */
    void inline_()
    {
        for (;;) {
            const auto token = m_feeder.next();
            if (token == QXmlStreamReader::Characters)
                characters(m_xml.text());
            else if (token == QXmlStreamReader::StartElement)
                inlineElement();
            else if (token == QXmlStreamReader::EndElement ||
                     token == QXmlStreamReader::EndDocument)
                return;
        }
    }

    void inlineElement()
    {
        if (m_xml.namespaceUri() != kText) {
            element();
            return;
        }
        const QStringView name = m_xml.name();
        m_dropBlank = m_dropBlank && name != u"s" && name != u"tab" && name != u"line-break";
        if (name == u"s") {
            bool ok = false;
            const int count = m_xml.attributes().value(kText, QLatin1String("c")).toInt(&ok);
            // A run far longer than any line is the sign of a hostile file; one blank stands.
            m_text.append(QString(ok && count > 1 && count <= kMaxBlanks ? count : 1, u' '));
            m_feeder.skipElement();
        } else if (name == u"tab") {
            m_text.append(QLatin1Char('\t'));
            m_feeder.skipElement();
        } else if (name == u"line-break") {
            m_text.append(QLatin1Char('\r'));
            m_feeder.skipElement();
        } else {
            element();
        }
    }

    void characters(QStringView data)
    {
        for (const QChar c : data) {
            const char16_t u = c.unicode();
            const bool blank = u == u' ' || u == u'\t' || u == u'\n' || u == u'\r';
            if (blank) {
                if (!m_dropBlank)
                    m_text.append(QLatin1Char(' '));
            } else if (u == 0xA0) {
                m_text.append(QLatin1Char(' '));
            } else if (u == 0x2011) {
                m_text.append(QLatin1Char('-'));
            } else if (u != 0xAD) {
                m_text.append(c);
            }
            m_dropBlank = blank;
        }
    }

    static constexpr int kMaxBlanks = 1 << 16;

    QXmlStreamReader m_xml;
    PartFeeder m_feeder;
    QString m_text;
    /** Whether a blank in the character data here is dropped: at a paragraph's start, after one. */
    bool m_dropBlank = true;
};

} // namespace

bool isOpenDocumentText(GsfInfile* zip)
{
    ObjectRef<GsfInput> entry(childNamed(zip, u"mimetype"));
    if (!entry || gsf().inputSize(entry.get()) != kTextMimeTypeSize)
        return false;
    const guint8* type = gsf().inputRead(entry.get(), kTextMimeTypeSize, nullptr);
    return type && std::memcmp(type, kTextMimeType, kTextMimeTypeSize) == 0;
}

QString readOpenDocumentText(GsfInfile* zip)
{
    const ObjectRef<GsfInput> content = openPart(zip, {QStringLiteral("content.xml")});
    return ContentWalker(content.get()).run();
}

} // namespace WordReader::detail
