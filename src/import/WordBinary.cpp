// SPDX-License-Identifier: Apache-2.0
// Word 97-2003 binary documents: the OLE2 container through libgsf, the file information block
// and the piece table decoded here. libgsf comes before any Qt header (glib's `signals`).
#include "import/GsfLibrary.h"

#include "import/WordFormats.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace WordReader::detail {
namespace {

constexpr quint16 kWordIdent = 0xA5EC;
constexpr quint16 kWord6Ident = 0xA5DC;
constexpr quint16 kFirstWord97Fib = 0x00C1;
constexpr quint16 kFlagEncrypted = 0x0100;
constexpr quint16 kFlagTable1 = 0x0200;
constexpr quint32 kFcCompressed = 0x40000000;
constexpr quint32 kFcMask = 0x3FFFFFFF;

// File information block: offsets of the fields read.
constexpr int kFibIdent = 0x00, kFibNFib = 0x02, kFibFlags = 0x0A, kFibCsw = 0x20, kFibCslw = 0x3E,
              kFibCcpText = 0x4C, kFibCbRgFcLcb = 0x98, kFibFcClx = 0x1A2, kFibLcbClx = 0x1A6,
              kFibEnd = 0x1AA;
constexpr quint16 kCsw = 14, kCslw = 22, kMinCbRgFcLcb = 0x5D;

constexpr size_t kChunk = 1 << 20;

quint16 u16(const unsigned char* p)
{
    return quint16(p[0] | p[1] << 8);
}
quint32 u32(const unsigned char* p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

// An 8-bit piece maps each byte to the same code point except these, which take their
// Windows-1252 meaning (0x80, 0x8E and 0x9E stay as they are).
constexpr std::array<char16_t, 256> compressedTable()
{
    std::array<char16_t, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = char16_t(i);
    constexpr std::pair<int, char16_t> exceptions[] = {
        {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026}, {0x86, 0x2020},
        {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160}, {0x8B, 0x2039},
        {0x8C, 0x0152}, {0x91, 0x2018}, {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D},
        {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014}, {0x98, 0x02DC}, {0x99, 0x2122},
        {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153}, {0x9F, 0x0178}};
    for (const auto& [byte, code] : exceptions)
        table[byte] = code;
    return table;
}
constexpr std::array<char16_t, 256> kCompressed = compressedTable();

struct Piece {
    qint64 cpStart;
    qint64 cpEnd;  // clipped to the main document
    qint64 offset; // byte offset in the WordDocument stream
    bool compressed;
};

/** Reads `length` bytes at `offset` of `input` into `buffer`, or refuses the document. */
void readAt(GsfInput* input, gsf_off_t offset, size_t length, unsigned char* buffer)
{
    if (gsf().inputSeek(input, offset, G_SEEK_SET) || !gsf().inputRead(input, length, buffer))
        refuse(Damaged, QStringLiteral("lectura fuera del flujo"));
}

/** Writes the main document's characters, turning Word's control codes into plain text. */
class BodyDecoder {
public:
    /** Makes room for `count` more characters. */
    void prepare(qsizetype count)
    {
        if (m_length + count > m_text.size()) {
            m_text.resize(std::max(m_length + count, m_text.size() * 2));
            m_out = reinterpret_cast<char16_t*>(m_text.data());
        }
    }

    /** Appends count characters, the i-th being charAt(bytes, i). */
    template <typename CharAt> void decode(const unsigned char* bytes, size_t count, CharAt charAt)
    {
        prepare(qsizetype(count));
        char16_t* const out = m_out;
        qsizetype length = m_length; // kept in a register in the loop
        for (size_t i = 0; i < count; ++i) {
            const char16_t c = charAt(bytes, i);
            if (c >= 0x20 && c != 0xA0) [[likely]] {
                out[length++] = c;
            } else {
                m_length = length;
                control(c);
                length = m_length;
            }
        }
        m_length = length;
    }

    void decode8(const unsigned char* bytes, size_t count)
    {
        decode(bytes, count, [](const unsigned char* b, size_t i) { return kCompressed[b[i]]; });
    }

    void decode16(const unsigned char* bytes, size_t count)
    {
        decode(bytes, count, [](const unsigned char* b, size_t i) {
            return char16_t(b[2 * i] | b[2 * i + 1] << 8);
        });
    }

    QString take()
    {
        m_text.truncate(m_length);
        return std::move(m_text);
    }

private:
    void control(char16_t c)
    {
        qsizetype back = -1;
        switch (c) {
        case 0x0D: // paragraph end
        case 0x07: // table cell or row end
        case 0x0B: // manual line break
        case 0x0C: // page or section break
        case 0x0E: // column break
            m_out[m_length++] = u'\r';
            break;
        case 0x09:
            m_out[m_length++] = u'\t';
            break;
        case 0x1E: // non-breaking hyphen
            m_out[m_length++] = u'-';
            break;
        case 0xA0: // no-break space
            m_out[m_length++] = u' ';
            break;
        case 0x13:
            m_fields.begin(m_length);
            break;
        case 0x14:
            back = m_fields.separate();
            break;
        case 0x15:
            back = m_fields.end();
            break;
        default: // object and picture anchors, note and comment references, optional hyphens
            break;
        }
        if (back >= 0)
            m_length = back;
    }

    QString m_text;
    char16_t* m_out = nullptr;
    qsizetype m_length = 0;
    FieldStack m_fields;
};

/** The pieces of the main document, checked against the streams they point into. */
std::vector<Piece> mainPieces(const std::vector<unsigned char>& clx, qint64 ccpText,
                              gsf_off_t wordSize)
{
    const auto damaged = [](const char* why) {
        refuse(Damaged, QString::fromLatin1(why));
    };
    size_t pos = 0;
    while (pos < clx.size() && clx[pos] == 0x01) { // property modifiers of fast-saved files
        if (clx.size() - pos < 3)
            damaged("Prc truncado");
        pos += 3 + u16(&clx[pos + 1]);
    }
    if (pos >= clx.size() || clx[pos] != 0x02 || clx.size() - pos < 5)
        damaged("falta la tabla de piezas");
    const quint32 lcb = u32(&clx[pos + 1]);
    pos += 5;
    if (lcb > clx.size() - pos || lcb < 16 || (lcb - 4) % 12 != 0)
        damaged("tamaño de la tabla de piezas");
    const size_t count = (lcb - 4) / 12;
    const unsigned char* cps = &clx[pos];
    const unsigned char* pcds = cps + 4 * (count + 1);

    std::vector<Piece> pieces;
    qint64 previous = 0;
    qint64 bytesUsed = 0;
    if (u32(cps) != 0)
        damaged("la primera pieza no empieza en 0");
    for (size_t i = 0; i < count && previous < ccpText; ++i) {
        const qint64 start = qint32(u32(cps + 4 * i));
        const qint64 end = qint32(u32(cps + 4 * (i + 1)));
        if (start != previous || end < start)
            damaged("posiciones de piezas desordenadas");
        previous = end;
        const quint32 fc = u32(pcds + 8 * i + 2);
        const bool compressed = fc & kFcCompressed;
        const qint64 offset = compressed ? (fc & kFcMask) / 2 : (fc & kFcMask);
        const qint64 clippedEnd = std::min(end, ccpText);
        const qint64 bytes = (clippedEnd - start) * (compressed ? 1 : 2);
        bytesUsed += bytes;
        if (offset + bytes > wordSize || bytesUsed > wordSize)
            damaged("pieza fuera del flujo WordDocument");
        if (clippedEnd > start)
            pieces.push_back({start, clippedEnd, offset, compressed});
    }
    if (previous < ccpText)
        damaged("la tabla de piezas no cubre el texto");
    return pieces;
}

} // namespace

QString readBinaryDocument(GsfInput* input)
{
    GError* error = nullptr;
    ObjectRef<GsfInfile> ole(gsf().infileMsoleNew(input, &error));
    if (!ole) {
        const QString reason = error ? QString::fromUtf8(error->message) : QString();
        gsf().clearError(&error);
        refuse(Damaged, reason);
    }

    // Only streams of the root storage count: embedded objects carry their own copies.
    const auto rootHas = [&](QStringView name) {
        return ObjectRef<GsfInput>(childNamed(ole.get(), name)) != nullptr;
    };
    if (rootHas(u"EncryptionInfo") || rootHas(u"EncryptedPackage"))
        refuse(Encrypted, QStringLiteral("paquete cifrado"));
    if (rootHas(u"\tDRMContent") || rootHas(u"\006DataSpaces"))
        refuse(RightsManaged);
    const auto stream = [&](QStringView name) {
        ObjectRef<GsfInput> child(childNamed(ole.get(), name));
        if (isFolder(child.get()))
            child.reset(); // a storage, not a stream
        return child;
    };
    ObjectRef<GsfInput> word = stream(u"WordDocument");
    if (!word)
        refuse(NotWordDocument, QStringLiteral("sin flujo WordDocument"));

    // No stream of the file can be larger than the file itself.
    const gsf_off_t fileSize = gsf().inputSize(input);
    const gsf_off_t wordSize = gsf().inputSize(word.get());
    if (wordSize > fileSize)
        refuse(Damaged, QStringLiteral("flujo WordDocument mayor que el archivo"));
    unsigned char fib[kFibEnd] = {};
    if (wordSize < kFibFlags + 2)
        refuse(Damaged, QStringLiteral("FIB truncado"));
    readAt(word.get(), 0, kFibFlags + 2, fib);
    const quint16 ident = u16(fib + kFibIdent);
    const quint16 nFib = u16(fib + kFibNFib);
    if (ident == kWord6Ident || (ident == kWordIdent && nFib < kFirstWord97Fib))
        refuse(OldWordVersion);
    if (ident != kWordIdent)
        refuse(Damaged, QStringLiteral("identificador de FIB desconocido"));
    const quint16 flags = u16(fib + kFibFlags);
    if (flags & kFlagEncrypted)
        refuse(Encrypted); // nothing past the FIB's first 68 bytes is in the clear

    if (wordSize < kFibEnd)
        refuse(Damaged, QStringLiteral("FIB truncado"));
    readAt(word.get(), 0, kFibEnd, fib);
    const quint16 cbRgFcLcb = u16(fib + kFibCbRgFcLcb);
    if (u16(fib + kFibCsw) != kCsw || u16(fib + kFibCslw) != kCslw || cbRgFcLcb < kMinCbRgFcLcb ||
        wordSize < kFibCbRgFcLcb + 2 + gsf_off_t(cbRgFcLcb) * 8)
        refuse(Damaged, QStringLiteral("tamaños del FIB"));
    const qint64 ccpText = qint32(u32(fib + kFibCcpText));
    const quint32 fcClx = u32(fib + kFibFcClx);
    const quint32 lcbClx = u32(fib + kFibLcbClx);
    if (ccpText < 0)
        refuse(Damaged, QStringLiteral("longitud de texto negativa"));

    ObjectRef<GsfInput> table = stream(flags & kFlagTable1 ? u"1Table" : u"0Table");
    if (!table)
        refuse(Damaged, QStringLiteral("falta el flujo de tabla"));
    const gsf_off_t tableSize = gsf().inputSize(table.get());
    if (tableSize > fileSize)
        refuse(Damaged, QStringLiteral("flujo de tabla mayor que el archivo"));
    if (lcbClx == 0 || fcClx > tableSize || lcbClx > tableSize - fcClx)
        refuse(Damaged, QStringLiteral("CLX fuera del flujo de tabla"));
    std::vector<unsigned char> clx(lcbClx);
    readAt(table.get(), fcClx, lcbClx, clx.data());
    table.reset();

    const std::vector<Piece> pieces = mainPieces(clx, ccpText, wordSize);
    clx = {};

    // The pieces were checked to lie in the WordDocument stream, itself no larger than the
    // file: the text's length is bounded by the file's size.
    BodyDecoder decoder;
    decoder.prepare(qsizetype(ccpText));
    std::vector<unsigned char> chunk;
    for (const Piece& piece : pieces) {
        const size_t width = piece.compressed ? 1 : 2;
        qint64 remaining = (piece.cpEnd - piece.cpStart) * qint64(width);
        gsf_off_t offset = piece.offset;
        while (remaining > 0) {
            const size_t length = size_t(std::min<qint64>(remaining, kChunk));
            if (chunk.size() < length)
                chunk.resize(length);
            readAt(word.get(), offset, length, chunk.data());
            if (piece.compressed)
                decoder.decode8(chunk.data(), length);
            else
                decoder.decode16(chunk.data(), length / 2);
            offset += gsf_off_t(length);
            remaining -= qint64(length);
        }
    }
    return decoder.take();
}

} // namespace WordReader::detail
