// SPDX-License-Identifier: Apache-2.0
#include "cli/Commands.h"

#include "components/OperatorText.h"
#include "data/DemoData.h"
#include "data/WorkDatabase.h"
#include "wizard/Internos.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace Cli {

namespace {

/** The letter a JSON string writes after a backslash for the character; 0 when none. */
char16_t escapeLetter(QChar c)
{
    static constexpr std::u16string_view Escaped = u"\"\\\b\f\n\r\t";
    static constexpr std::u16string_view Letters = u"\"\\bfnrt";
    const std::size_t k = Escaped.find(c.unicode());
    return k == std::u16string_view::npos ? 0 : Letters[k];
}

/** Writes the UTF-16 unit as \u and four hex digits. */
char* writeEscapedUnit(char* out, char16_t unit)
{
    static constexpr char Hex[] = "0123456789abcdef";
    out = writeLiteral(out, "\\u");
    for (int shift = 12; shift >= 0; shift -= 4)
        *out++ = Hex[(unit >> shift) & 0xF];
    return out;
}

/**
 * The number's shortest digits, as QString writes them, for a number of 0.1 to 10^9 with one
 * to six decimals, written at out; their end, or nullptr for any other number.
 */
char* writeShortDecimal(double number, char* out)
{
    const double magnitude = std::abs(number);
    if (!(magnitude >= 0.1 && magnitude < 1e9))
        return nullptr;
    double scale = 1;
    for (int decimals = 1; decimals <= 6; ++decimals) {
        scale *= 10;
        // The scaled number rounded: from 1 to 10^15, adding a half and dropping the fraction
        // gives what std::round gives, without its call. A whole number below 2^53 divided by
        // an exact power of ten is rounded once: when it gives the number back, these digits
        // read as the number, and no fewer did.
        const double scaled = double(std::uint64_t(magnitude * scale + 0.5));
        if (scaled / scale != magnitude)
            continue;
        const auto whole = std::uint64_t(scaled);
        if (whole % 10 == 0)
            return nullptr;
        char digits[24];
        const int count = int(std::to_chars(digits, std::end(digits), whole).ptr - digits);
        const int integral = count - decimals;
        if (number < 0)
            *out++ = '-';
        if (integral > 0)
            out = std::copy_n(digits, integral, out);
        else
            *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, std::max(0, -integral), '0');
        return std::copy(digits + std::max(0, integral), digits + count, out);
    }
    return nullptr;
}

} // namespace

char* writeJson(char* out, QStringView text)
{
    *out++ = '"';
    const char16_t* const end = text.utf16() + text.size();
    for (const char16_t* c = text.utf16(); c != end; ++c) {
        const char16_t unit = *c;
        if (unit >= 0x20 && unit < 0x80 && unit != u'"' && unit != u'\\') {
            *out++ = char(unit); // most characters of an invoice
        } else if (unit < 0x80) {
            if (const char16_t letter = escapeLetter(QChar(unit))) {
                *out++ = '\\';
                *out++ = char(letter);
            } else {
                out = writeEscapedUnit(out, unit); // the other control characters
            }
        } else if (unit < 0x800) {
            *out++ = char(0xC0 | unit >> 6);
            *out++ = char(0x80 | (unit & 0x3F));
        } else if (!QChar::isSurrogate(unit)) {
            *out++ = char(0xE0 | unit >> 12);
            *out++ = char(0x80 | (unit >> 6 & 0x3F));
            *out++ = char(0x80 | (unit & 0x3F));
        } else if (QChar::isHighSurrogate(unit) && c + 1 != end && QChar::isLowSurrogate(c[1])) {
            const char32_t point = QChar::surrogateToUcs4(unit, *++c);
            *out++ = char(0xF0 | point >> 18);
            *out++ = char(0x80 | (point >> 12 & 0x3F));
            *out++ = char(0x80 | (point >> 6 & 0x3F));
            *out++ = char(0x80 | (point & 0x3F));
        } else {
            out = writeEscapedUnit(out, unit); // a lone half of a pair
        }
    }
    *out++ = '"';
    return out;
}

char* writeJson(char* out, double number)
{
    if (!std::isfinite(number))
        return writeLiteral(out, "null");
    // Whole numbers up to 2^53 as integers; any other number below 2^53 holds a fraction, and
    // its shortest digits without exponent are the ones QString writes. A number QString writes
    // with an exponent is left to it, as its exponent's form differs.
    if (std::abs(number) <= 9007199254740992.0) {
        if (const auto whole = qint64(number); double(whole) == number)
            return std::to_chars(out, out + JsonNumberRoom, whole).ptr;
        char* end = writeShortDecimal(number, out);
        if (!end)
            end = std::to_chars(out, out + JsonNumberRoom, number).ptr;
        if (std::find(out, end, 'e') == end)
            return end;
    }
    const QByteArray digits =
        QString::number(number, 'g', QLocale::FloatingPointShortest).toLatin1();
    return std::copy(digits.begin(), digits.end(), out);
}

QString jsonValue(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("null");
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
        return QString::number(value.toLongLong());
    if (value.typeId() == QMetaType::Double) {
        char digits[JsonNumberRoom];
        return QString::fromLatin1(digits, writeJson(digits, value.toDouble()) - digits);
    }
    const QString text = value.toString();
    QByteArray utf8(jsonRoom(text.size()), Qt::Uninitialized);
    return QString::fromUtf8(utf8.data(), writeJson(utf8.data(), text) - utf8.data());
}

bool Arguments::has(const QString& flag) const
{
    return std::any_of(options.cbegin(), options.cend(),
                       [&flag](const auto& option) { return option.first == flag; });
}

QStringList Arguments::values(const QString& option) const
{
    QStringList result;
    for (const auto& [name, value] : options) {
        if (name == option)
            result << value;
    }
    return result;
}

QString Arguments::value(const QString& option) const
{
    const QStringList given = values(option);
    return given.isEmpty() ? QString() : given.last();
}

QString Arguments::required(const QString& option) const
{
    const QString given = value(option);
    if (given.isEmpty())
        throw Usage{QStringLiteral("Falta ") + option + QLatin1Char('.')};
    return given;
}

Arguments splitArguments(const QStringList& args, const QStringList& flags,
                         const QStringList& valued)
{
    Arguments result;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--")) {
            result.positional << args.mid(i + 1);
            break;
        }
        if (!arg.startsWith(QLatin1String("--"))) {
            result.positional << arg;
        } else if (flags.contains(arg)) {
            result.options.append({arg, QString()});
        } else if (valued.contains(arg)) {
            if (++i >= args.size())
                throw Usage{QStringLiteral("Falta el valor de ") + arg + QLatin1Char('.')};
            result.options.append({arg, args.at(i)});
        } else {
            throw Usage{QStringLiteral("Argumento desconocido: ") + arg};
        }
    }
    return result;
}

QString internoNumber(const QString& argument)
{
    return Internos::textoGuardado(argument);
}

std::pair<QString, qint64> internoLine(const QStringList& positional)
{
    if (positional.isEmpty())
        throw Usage{QStringLiteral("Falta el número de interno.")};
    if (positional.size() < 2)
        throw Usage{QStringLiteral("Falta el número de línea (ARTORD).")};
    if (positional.size() > 2)
        throw Usage{QStringLiteral("Argumento desconocido: ") + positional.at(2)};
    bool ok = false;
    const qint64 line = positional.at(1).toLongLong(&ok);
    if (!ok)
        throw Usage{QStringLiteral("Número de línea inválido: ") + positional.at(1)};
    return {internoNumber(positional.at(0)), line};
}

QString noSuchInterno(const QString& interno)
{
    return QStringLiteral("No existe el interno %1.").arg(OperatorText::shown(interno));
}

void requireInterno(Workspace& ws, const QString& interno)
{
    if (!Internos::existe(ws, interno))
        throw AppError(-1, noSuchInterno(interno));
}

Session::Session(Context& context)
    : m_dialogs(context.out, context.err)
    , m_workspace(context.home, m_dialogs, m_progress)
{
    m_workspace.setFrontEnd(QStringLiteral("cli"));
    m_workspace.open();
}

int init(Context& context)
{
    const Arguments args = splitArguments(context.args, {QStringLiteral("--demo")});
    if (!args.positional.isEmpty())
        throw Usage{QStringLiteral("Argumento desconocido: ") + args.positional.first()};
    const bool demo = args.has(QStringLiteral("--demo"));
    if (!WorkDatabase::create(context.home))
        context.err << "La base de datos de trabajo ya existe: " << WorkDatabase::path(context.home)
                    << Qt::endl;
    if (demo)
        DemoData::write(context.home);
    return Done;
}

} // namespace Cli
