// SPDX-License-Identifier: Apache-2.0
#include "data/Quantities.h"

#include <QStringView>

#include <cmath>
#include <vector>

namespace {

struct Unit {
    QStringView name; // as the folded text writes it
    QuantityKind kind;
    double factor; // to the kind's unit
    bool approximate = false;
};

using enum QuantityKind;
constexpr double Inch = 25.4;
constexpr Unit Units[] = {
    {u"w", Power, 1},
    {u"kw", Power, 1000},
    {u"hp", Power, 745.7, true},
    {u"cv", Power, 735.5, true},
    {u"va", ApparentPower, 1},
    {u"kva", ApparentPower, 1000},
    {u"v", Voltage, 1},
    {u"vdc", Voltage, 1},
    {u"vac", Voltage, 1},
    {u"vcc", Voltage, 1},
    {u"vca", Voltage, 1},
    {u"kv", Voltage, 1000},
    {u"a", Current, 1},
    {u"ma", Current, 0.001},
    {u"ka", Current, 1000},
    {u"mm", Length, 1},
    {u"cm", Length, 10},
    {u"m", Length, 1000},
    {u"km", Length, 1e6},
    {u"in", Length, Inch, true},
    {u"inch", Length, Inch, true},
    {u"inches", Length, Inch, true},
    {u"\"", Length, Inch, true},
    {u"ft", Length, 12 * Inch, true},
    {u"g", Mass, 0.001},
    {u"kg", Mass, 1},
    {u"lb", Mass, 0.45359237, true},
    {u"lbs", Mass, 0.45359237, true},
    {u"ml", Volume, 0.001},
    {u"l", Volume, 1},
    {u"lt", Volume, 1},
    {u"gal", Volume, 3.785411784, true},
    {u"pa", Pressure, 0.001},
    {u"kpa", Pressure, 1},
    {u"mpa", Pressure, 1000},
    {u"bar", Pressure, 100},
    {u"psi", Pressure, 6.894757, true},
};
/** How near a bound an approximate quantity meets it either way, as a share of the bound. */
constexpr double Tolerance = 0.01;

const Unit* unitNamed(QStringView name)
{
    for (const Unit& unit : Units) {
        if (unit.name == name)
            return &unit;
    }
    return nullptr;
}

/** A word (a code such as "m10" or "2rs" is one word), a punctuation mark, or a group of
 *  numbers with the unit written after the last of them ("220/380 v"); sizes across
 *  ("20x47x14 mm") are a group without a unit. */
struct Token {
    QString word; // empty for a group of numbers
    std::vector<double> values;
    const Unit* unit = nullptr;

    bool is(QStringView w) const { return word == w; }
    bool isNumber() const { return word.isEmpty(); }
};

/** Reads texts into tokens; `spanish` reads "1.000" as a thousand and "37,5" as a decimal
 *  number, English text the other way round ("1,000", "37.5"). */
class Scanner {
public:
    Scanner(const QString& text, bool spanish)
        : m_spanish(spanish)
    {
        for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
            if (c.category() != QChar::Mark_NonSpacing)
                m_text += c.toLower();
        }
    }

    std::vector<Token> tokens()
    {
        std::vector<Token> found;
        while (m_at < m_text.size()) {
            const QChar c = m_text.at(m_at);
            if (c.isSpace()) {
                ++m_at;
            } else if (c.isDigit()) {
                found.push_back(group(found));
            } else if (c.isLetter()) {
                found.push_back({word(), {}, nullptr});
            } else {
                found.push_back({QString(c), {}, nullptr});
                ++m_at;
            }
        }
        return found;
    }

private:
    bool digitAt(qsizetype i) const { return i < m_text.size() && m_text.at(i).isDigit(); }
    bool letterAt(qsizetype i) const { return i < m_text.size() && m_text.at(i).isLetter(); }
    bool charAt(qsizetype i, char16_t c) const { return i < m_text.size() && m_text.at(i) == c; }

    /** Letters, and a code's digits after them. */
    QString word()
    {
        const qsizetype start = m_at;
        while (letterAt(m_at))
            ++m_at;
        if (digitAt(m_at)) {
            while (letterAt(m_at) || digitAt(m_at))
                ++m_at;
        }
        return m_text.mid(start, m_at - start);
    }

    double digits()
    {
        double value = 0;
        while (digitAt(m_at))
            value = value * 10 + m_text.at(m_at++).digitValue();
        return value;
    }

    /** How many digits follow `i`. */
    qsizetype digitRun(qsizetype i) const
    {
        qsizetype n = 0;
        while (digitAt(i + n))
            ++n;
        return n;
    }

    /** A number: its digits, thousands separators, a decimal part. */
    double number()
    {
        double value = digits();
        const char16_t thousands = m_spanish ? u'.' : u',';
        while (charAt(m_at, thousands) && digitRun(m_at + 1) == 3) {
            ++m_at;
            value = value * 1000 + digits();
        }
        // English text may still write a decimal comma ("0,75 KW").
        const bool decimal = charAt(m_at, u',') || (!m_spanish && charAt(m_at, u'.'));
        if (decimal && digitAt(m_at + 1)) {
            const qsizetype start = ++m_at;
            const double part = digits();
            value += part / std::pow(10.0, double(m_at - start));
        }
        return value;
    }

    /** The fraction of an inch ("3/8", "1/16") whose numerator was just read, or nothing. */
    std::optional<double> fraction(double numerator)
    {
        if (!charAt(m_at, u'/') || !digitAt(m_at + 1))
            return std::nullopt;
        const qsizetype at = m_at++;
        const double denominator = digits();
        for (const double power : {2.0, 4.0, 8.0, 16.0, 32.0, 64.0}) {
            if (denominator == power && numerator < denominator)
                return numerator / denominator;
        }
        m_at = at;
        return std::nullopt;
    }

    Token group(const std::vector<Token>& before)
    {
        Token t;
        bool crossed = false;
        for (;;) {
            double value = number();
            if (const std::optional<double> part = fraction(value)) {
                value = *part;
            } else if (charAt(m_at, u'-') && digitAt(m_at + 1)) { // "1-1/2"
                const qsizetype at = m_at++;
                const double numerator = digits();
                if (const std::optional<double> whole = fraction(numerator))
                    value += *whole;
                else
                    m_at = at;
            }
            t.values.push_back(value);
            if (!(charAt(m_at, u'x') || charAt(m_at, u'/')) || !digitAt(m_at + 1))
                break;
            crossed = crossed || charAt(m_at, u'x');
            ++m_at;
        }
        t.unit = unitAfter(before);
        // Sizes across ("20x47x14 mm": bore, outside, width) do not say which is which.
        if (crossed)
            t.unit = nullptr;
        return t;
    }

    /** The unit written after a group, glued to it or after blanks, unless powered or divided;
     *  "a" between numbers after "de" or "entre" ("de 60 a 180 cm") joins them. */
    const Unit* unitAfter(const std::vector<Token>& before)
    {
        qsizetype at = m_at;
        if (charAt(at, u'"')) {
            m_at = at + 1;
            return unitNamed(u"\"");
        }
        while (charAt(at, u' '))
            ++at;
        qsizetype end = at;
        while (letterAt(end))
            ++end;
        // "mm2", "m²", "cm³", "l/h", "g/m²": another quantity than the unit's.
        if (end == at || (end < m_text.size() && m_text.at(end).isNumber()) || charAt(end, u'/'))
            return nullptr;
        const QStringView name = QStringView(m_text).mid(at, end - at);
        const Unit* unit = unitNamed(name);
        if (!unit)
            return nullptr;
        if (name == u"a" && !before.empty() &&
            (before.back().is(u"de") || before.back().is(u"entre"))) {
            qsizetype next = end;
            while (charAt(next, u' '))
                ++next;
            if (digitAt(next))
                return nullptr;
        }
        m_at = end;
        return unit;
    }

    QString m_text;
    qsizetype m_at = 0;
    bool m_spanish;
};

bool isAny(const Token& t, std::initializer_list<QStringView> words)
{
    for (const QStringView w : words) {
        if (t.is(w))
            return true;
    }
    return false;
}

/** The comparison written before the group at `k`: which end it bounds, whether inclusive,
 *  and where it begins. */
struct Comparison {
    bool upper;
    bool inclusive;
    qsizetype begins;
};

std::optional<Comparison> comparisonBefore(const std::vector<Token>& t, qsizetype k)
{
    auto at = [&t, k](qsizetype back) -> const Token* {
        return k - back >= 0 ? &t.at(size_t(k - back)) : nullptr;
    };
    const auto side = [](const Token* w) -> std::optional<bool> {
        if (w && isAny(*w, {u"inferior", u"menor"}))
            return true;
        if (w && isAny(*w, {u"superior", u"mayor"}))
            return false;
        return std::nullopt;
    };
    if (at(1) && at(1)->is(u"hasta"))
        return Comparison{true, true, k - 1};
    if (!at(1) || !at(1)->is(u"a"))
        return std::nullopt;
    if (const std::optional<bool> upper = side(at(2)))
        return Comparison{*upper, false, k - 2};
    if (at(2) && at(2)->is(u"igual") && at(3) && at(3)->is(u"o")) {
        if (const std::optional<bool> upper = side(at(4)))
            return Comparison{*upper, true, k - 4};
    }
    return std::nullopt;
}

} // namespace

QList<QuantityCondition> Quantities::conditions(const QString& text)
{
    const std::vector<Token> t = Scanner(text, true).tokens();
    QList<QuantityCondition> found;
    qsizetype lastEnd = -1; // the token after the last condition's group
    for (qsizetype k = 0; k < qsizetype(t.size()); ++k) {
        const Token& g = t.at(size_t(k));
        if (!g.isNumber() || !g.unit)
            continue;
        const double value = g.values.back() * g.unit->factor;
        if (const std::optional<Comparison> c = comparisonBefore(t, k)) {
            const QuantityBound bound{value, c->inclusive};
            QuantityCondition* previous = found.isEmpty() ? nullptr : &found.last();
            const bool joined = previous && previous->kind == g.unit->kind &&
                                c->begins == lastEnd + 1 &&
                                isAny(t.at(size_t(lastEnd)), {u"pero", u"y", u"e"}) &&
                                !(c->upper ? previous->upper : previous->lower);
            if (!joined)
                previous = &found.emplaceBack(QuantityCondition{g.unit->kind, {}, {}});
            (c->upper ? previous->upper : previous->lower) = bound;
            lastEnd = k + 1;
            continue;
        }
        // "de 60 a 180 cm", "entre 60 y 180 cm": the first number takes the second's unit
        // unless it has its own.
        if (k >= 3 && isAny(t.at(size_t(k - 1)), {u"a", u"y"}) && t.at(size_t(k - 2)).isNumber() &&
            isAny(t.at(size_t(k - 3)), {u"de", u"entre"})) {
            const Token& from = t.at(size_t(k - 2));
            const Unit* unit = from.unit ? from.unit : g.unit;
            if (unit->kind == g.unit->kind) {
                found << QuantityCondition{g.unit->kind,
                                           QuantityBound{from.values.back() * unit->factor, true},
                                           QuantityBound{value, true}};
                lastEnd = k + 1;
            }
        }
    }
    return found;
}

QList<Quantity> Quantities::quantities(const QString& description)
{
    QList<Quantity> found;
    for (const Token& t : Scanner(description, false).tokens()) {
        if (!t.isNumber() || !t.unit)
            continue;
        for (const double value : t.values)
            found << Quantity{t.unit->kind, value * t.unit->factor, t.unit->approximate};
    }
    return found;
}

bool Quantities::meets(const QuantityCondition& condition, const Quantity& quantity)
{
    if (quantity.kind != condition.kind)
        return false;
    const double v = quantity.value;
    if (const auto& b = condition.lower) {
        const double tolerance = quantity.approximate ? Tolerance * b->value : 0;
        if ((b->inclusive || tolerance > 0) ? v < b->value - tolerance : v <= b->value)
            return false;
    }
    if (const auto& b = condition.upper) {
        const double tolerance = quantity.approximate ? Tolerance * b->value : 0;
        if ((b->inclusive || tolerance > 0) ? v > b->value + tolerance : v >= b->value)
            return false;
    }
    return true;
}

QuantityFit Quantities::fit(const QList<QuantityCondition>& conditions,
                            const QList<Quantity>& quantities)
{
    QuantityFit result = QuantityFit::Silent;
    for (const QuantityCondition& c : conditions) {
        bool stated = false;
        bool met = false;
        for (const Quantity& q : quantities) {
            stated = stated || q.kind == c.kind;
            met = met || meets(c, q);
        }
        if (stated && !met)
            return QuantityFit::Contradicted;
        if (met)
            result = QuantityFit::Satisfied;
    }
    return result;
}
