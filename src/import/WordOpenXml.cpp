// SPDX-License-Identifier: Apache-2.0
// WordprocessingML packages: the zip container through libgsf, the main document part found
// through the package relationships and walked with QXmlStreamReader. libgsf comes before any
// Qt header (glib's `signals`).
#include "import/GsfLibrary.h"

#include "import/WordFormats.h"

#include <QStringList>
#include <QUrl>
#include <QXmlStreamReader>

namespace WordReader::detail {
namespace {

constexpr gsf_off_t kMaxRelationshipsSize = 4 << 20;
constexpr gsf_off_t kChunk = 256 << 10;

const QString kWmlTransitional =
    QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kWmlStrict = QStringLiteral("http://purl.oclc.org/ooxml/wordprocessingml/main");
const QString kMarkupCompatibility =
    QStringLiteral("http://schemas.openxmlformats.org/markup-compatibility/2006");
const QString kRelationships =
    QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString kOfficeDocumentTransitional = QStringLiteral(
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument");
const QString kOfficeDocumentStrict =
    QStringLiteral("http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument");

/** Path segments of the main document part, from the package relationships. */
QStringList mainDocumentPath(GsfInfile* zip)
{
    ObjectRef<GsfInput> rels = partAt(zip, {QStringLiteral("_rels"), QStringLiteral(".rels")});
    if (!rels)
        refuse(NotWordDocument, QStringLiteral("zip sin relaciones de paquete"));
    if (gsf().inputSize(rels.get()) > kMaxRelationshipsSize)
        refuse(Damaged, QStringLiteral("relaciones demasiado grandes"));
    QXmlStreamReader xml;
    PartFeeder feeder(rels.get(), xml);
    QString target;
    while (feeder.next() != QXmlStreamReader::EndDocument) {
        if (!xml.isStartElement() || xml.namespaceUri() != kRelationships ||
            xml.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const QStringView type = attributes.value(QLatin1String("Type"));
        if ((type == kOfficeDocumentTransitional || type == kOfficeDocumentStrict) &&
            attributes.value(QLatin1String("TargetMode")) != u"External") {
            target = attributes.value(QLatin1String("Target")).toString();
            break;
        }
    }
    if (target.isEmpty())
        refuse(NotWordDocument, QStringLiteral("paquete sin documento principal"));

    QStringList path;
    const QString decoded = QUrl::fromPercentEncoding(target.toUtf8());
    for (const QString& segment : decoded.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (segment == u"..") {
            if (!path.isEmpty())
                path.removeLast();
        } else if (segment != u".") {
            path << segment;
        }
    }
    return path;
}

/** Walks the body of the main document part and collects its text. */
class BodyWalker {
public:
    BodyWalker(GsfInput* part)
        : m_feeder(part, m_xml)
    {
        m_xml.setNamespaceProcessing(true);
        m_text.reserve(qsizetype(std::min<gsf_off_t>(gsf().inputSize(part) / 8, 1 << 24)));
    }

    QString run()
    {
        if (!m_feeder.nextStart() || !isWml() || m_xml.name() != u"document")
            refuse(NotWordDocument, QStringLiteral("la parte principal no es un documento"));
        // Children of the document: only the body holds text.
        while (m_feeder.nextChild()) {
            if (isWml() && m_xml.name() == u"body") {
                walkChildren();
                break;
            }
            m_feeder.skipElement();
        }
        return std::move(m_text);
    }

private:
    bool isWml() const
    {
        const QStringView ns = m_xml.namespaceUri();
        return ns == kWmlTransitional || ns == kWmlStrict;
    }

    /** Walks the children of the current element up to its end. */
    void walkChildren()
    {
        while (m_feeder.nextChild())
            element();
    }

    void element()
    {
        if (!isWml()) {
            // Markup compatibility: of the alternatives take the fallback only.
            const bool mc = m_xml.namespaceUri() == kMarkupCompatibility;
            if (mc && (m_xml.name() == u"AlternateContent" || m_xml.name() == u"Fallback"))
                walkChildren();
            else
                m_feeder.skipElement();
            return;
        }
        const QStringView name = m_xml.name();
        if (name == u"p") {
            paragraph();
        } else if (name == u"t") {
            text();
        } else if (name == u"tab" || name == u"ptab") {
            character(u'\t');
        } else if (name == u"br" || name == u"cr") {
            character(u'\r');
        } else if (name == u"noBreakHyphen") {
            character(u'-');
        } else if (name == u"sym") {
            symbol();
        } else if (name == u"fldChar") {
            fieldChar();
        } else if (isSkipped(name)) {
            m_feeder.skipElement();
        } else {
            // Runs, revisions kept (ins, moveTo), hyperlinks, smart tags, custom XML, content
            // controls (their sdtContent), simple fields (their stored result), tables.
            walkChildren();
        }
    }

    static bool isSkipped(QStringView name)
    {
        // Properties, deleted or moved-away text, field instructions, drawings and text boxes,
        // phonetic guides.
        static const QStringView kSkipped[] = {u"rPr",
                                               u"sectPr",
                                               u"tblPr",
                                               u"tblGrid",
                                               u"trPr",
                                               u"tcPr",
                                               u"tblPrEx",
                                               u"sdtPr",
                                               u"sdtEndPr",
                                               u"del",
                                               u"moveFrom",
                                               u"drawing",
                                               u"pict",
                                               u"object",
                                               u"instrText",
                                               u"delText",
                                               u"delInstrText",
                                               u"fldData",
                                               u"ffData",
                                               u"customXmlPr",
                                               u"smartTagPr",
                                               u"txbxContent",
                                               u"rt",
                                               u"pPr",
                                               u"footnoteReference",
                                               u"endnoteReference",
                                               u"commentReference",
                                               u"softHyphen"};
        return std::find(std::begin(kSkipped), std::end(kSkipped), name) != std::end(kSkipped);
    }

    void paragraph()
    {
        bool markDeleted = false;
        while (m_feeder.nextChild()) {
            if (isWml() && m_xml.name() == u"pPr")
                markDeleted = paragraphProperties() || markDeleted;
            else
                element();
        }
        // A deleted paragraph mark joins the paragraph to the next one.
        if (!markDeleted)
            m_text.append(QLatin1Char('\r'));
    }

    /** Skips the paragraph properties; true when they mark the paragraph mark as deleted. */
    bool paragraphProperties()
    {
        bool deleted = false;
        bool inMarkProperties = false;
        for (int depth = 1; depth > 0;) {
            const auto token = m_feeder.next();
            if (token == QXmlStreamReader::StartElement) {
                ++depth;
                if (depth == 2 && isWml() && m_xml.name() == u"rPr")
                    inMarkProperties = true;
                else if (depth == 3 && inMarkProperties && isWml() &&
                         (m_xml.name() == u"del" || m_xml.name() == u"moveFrom"))
                    deleted = true;
            } else if (token == QXmlStreamReader::EndElement) {
                if (--depth == 1)
                    inMarkProperties = false;
            } else if (token == QXmlStreamReader::EndDocument) {
                break;
            }
        }
        return deleted;
    }

    void text()
    {
        for (;;) {
            const auto token = m_feeder.next();
            if (token == QXmlStreamReader::Characters) {
                const qsizetype from = m_text.size();
                m_text.append(m_xml.text());
                std::replace(m_text.begin() + from, m_text.end(), QChar(0xA0), QChar(u' '));
            } else if (token == QXmlStreamReader::StartElement) {
                m_feeder.skipElement();
            } else if (token == QXmlStreamReader::EndElement ||
                       token == QXmlStreamReader::EndDocument) {
                return;
            }
        }
    }

    void symbol()
    {
        bool ok = false;
        const uint code = m_xml.attributes()
                              .value(m_xml.namespaceUri().toString(), QLatin1String("char"))
                              .toUInt(&ok, 16);
        if (ok && code > 0 && code <= 0x10FFFF && !QChar::isSurrogate(code))
            m_text.append(QChar::fromUcs4(char32_t(code)));
        m_feeder.skipElement();
    }

    void fieldChar()
    {
        const QXmlStreamAttributes attributes = m_xml.attributes();
        const QStringView type =
            attributes.value(m_xml.namespaceUri().toString(), QLatin1String("fldCharType"));
        qsizetype back = -1;
        if (type == u"begin")
            m_fields.begin(m_text.size());
        else if (type == u"separate")
            back = m_fields.separate();
        else if (type == u"end")
            back = m_fields.end();
        if (back >= 0)
            m_text.truncate(back);
        m_feeder.skipElement();
    }

    /** Writes the character that stands for the current empty element. */
    void character(char16_t c)
    {
        m_text.append(QChar(c));
        m_feeder.skipElement();
    }

    QXmlStreamReader m_xml;
    PartFeeder m_feeder;
    QString m_text;
    FieldStack m_fields;
};

} // namespace

ObjectRef<GsfInput> partAt(GsfInfile* zip, const QStringList& path)
{
    ObjectRef<GsfInput> current;
    GsfInfile* dir = zip;
    for (const QString& segment : path) {
        if (!dir || gsf().infileNumChildren(dir) < 0)
            return {};
        current.reset(childNamed(dir, segment));
        if (!current)
            return {};
        dir = asInfile(current.get());
    }
    return current;
}

ObjectRef<GsfInput> openPart(GsfInfile* zip, const QStringList& path)
{
    ObjectRef<GsfInput> part = partAt(zip, path);
    const QString name = path.join(QLatin1Char('/'));
    if (!part || isFolder(part.get()))
        refuse(Damaged, QStringLiteral("falta la parte %1").arg(name));
    // The zip entry's size is all that libgsf inflates of it.
    if (gsf().inputSize(part.get()) > kMaxDocumentSize)
        refuse(TooLarge,
               QStringLiteral("parte %1 de %2 bytes").arg(name).arg(gsf().inputSize(part.get())));
    return part;
}

PartFeeder::PartFeeder(GsfInput* part, QXmlStreamReader& xml)
    : m_part(part)
    , m_xml(xml)
{}

QXmlStreamReader::TokenType PartFeeder::next()
{
    for (;;) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::StartElement && ++m_depth > kMaxDepth)
            refuse(TooDeep, QStringLiteral("más de %1 elementos anidados").arg(kMaxDepth));
        if (token == QXmlStreamReader::EndElement)
            --m_depth;
        if (token != QXmlStreamReader::Invalid)
            return token;
        if (m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError || !feed())
            refuse(Damaged, m_xml.errorString());
    }
}

bool PartFeeder::nextStart()
{
    for (;;) {
        const auto token = next();
        if (token == QXmlStreamReader::StartElement)
            return true;
        if (token == QXmlStreamReader::EndDocument)
            return false;
    }
}

bool PartFeeder::nextChild()
{
    for (;;) {
        const auto token = next();
        if (token == QXmlStreamReader::StartElement)
            return true;
        if (token == QXmlStreamReader::EndElement || token == QXmlStreamReader::EndDocument)
            return false;
    }
}

void PartFeeder::skipElement()
{
    for (int depth = 1; depth > 0;) {
        const auto token = next();
        if (token == QXmlStreamReader::StartElement)
            ++depth;
        else if (token == QXmlStreamReader::EndElement)
            --depth;
        else if (token == QXmlStreamReader::EndDocument)
            return;
    }
}

bool PartFeeder::feed()
{
    const gsf_off_t remaining = gsf().inputRemaining(m_part);
    if (remaining <= 0)
        return false;
    const gsf_off_t length = std::min(remaining, kChunk);
    m_buffer.resize(qsizetype(length));
    if (!gsf().inputRead(m_part, size_t(length), reinterpret_cast<guint8*>(m_buffer.data())))
        refuse(Damaged, QStringLiteral("zip ilegible"));
    m_xml.addData(m_buffer);
    return true;
}

QString readOpenXmlDocument(GsfInput* input)
{
    GError* error = nullptr;
    ObjectRef<GsfInfile> zip(gsf().infileZipNew(input, &error));
    if (!zip) {
        const QString reason = error ? QString::fromUtf8(error->message) : QString();
        gsf().clearError(&error);
        refuse(Damaged, reason);
    }
    if (isOpenDocumentText(zip.get()))
        return readOpenDocumentText(zip.get());
    const ObjectRef<GsfInput> part = openPart(zip.get(), mainDocumentPath(zip.get()));
    return BodyWalker(part.get()).run();
}

} // namespace WordReader::detail
