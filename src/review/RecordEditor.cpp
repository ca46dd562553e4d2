// SPDX-License-Identifier: Apache-2.0
#include "review/RecordEditor.h"

#include "components/SuffixValidator.h"
#include "components/TestSeam.h"
#include "data/HistoryStore.h"
#include "data/Nomenclator.h"
#include "data/NomenclatorTables.h"
#include "workspace/Workspace.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

/** A number with at least two integer digits and the decimals given ("00.00"), as the
 *  user's locale writes it; NULL as 0. */
QString fixed(const std::optional<double>& value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const double number = value.value_or(0);
    QString text = locale.toString(std::abs(number), 'f', decimals);
    const qsizetype integerDigits = text.indexOf(locale.decimalPoint());
    if (integerDigits >= 0 && integerDigits < 2)
        text.prepend(QString(2 - integerDigits, QLatin1Char('0')));
    return number < 0 ? locale.negativeSign() + text : text;
}

/** A position as the nomenclator writes it: a "," typed for a "." is read as one. */
QString positionText(QString position)
{
    return position.replace(QLatin1Char(','), QLatin1Char('.'));
}

/** A unit code with at least two digits (7 becomes 07); a text that is no number as it is. */
QString twoDigits(const QString& unit)
{
    bool ok = false;
    const int number = unit.trimmed().toInt(&ok);
    return ok ? QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')) : unit;
}

QString unitCaption(const QString& unit)
{
    return QStringLiteral("Unidad Estadistica [") + unit + QLatin1Char(']');
}

/** The report of the position check and the suffix verification: the number first. */
QString numberFirst(const AppError& error, const QString& section)
{
    return QString::number(error.number()) + QStringLiteral(" - ") + error.description() +
           QStringLiteral("\n\n") + section;
}

/** The entry of a suffix string that begins with the text; empty when there is none. */
QString previousEntry(const QString& previous, const QString& start)
{
    const QStringList pieces = previous.split(QLatin1Char('-'));
    for (const QString& piece : pieces) {
        const QString entry = piece.trimmed();
        if (entry.startsWith(start))
            return entry;
    }
    return {};
}

/** The value of a free-value code in a suffix string ("ZA(000150)" gives 000150). */
QString previousValue(const QString& previous, const QString& code)
{
    const QString entry = previousEntry(previous, code + QLatin1Char('('));
    const qsizetype close = entry.indexOf(QLatin1Char(')'));
    return close < 0 ? QString() : entry.mid(code.size() + 1, close - code.size() - 1);
}

bool allDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

} // namespace

RecordEditor::RecordEditor(Workspace& ws)
    : m_ws(ws)
{}

std::optional<NomenclatorPosition> RecordEditor::lookUp(QString position)
{
    position = positionText(position);
    return NomenclatorTables(m_ws.nomenclator())
        .position(Nomenclator::positionDigits(position), Nomenclator::statisticalOpening(position),
                  position.right(1));
}

bool RecordEditor::reportFailure(const QString& report)
{
    m_ws.dialogs().message(MessageIcon::Critical, report);
    return false;
}

bool RecordEditor::refuse(MessageIcon icon, const QString& text, Field field)
{
    m_refused = field;
    m_ws.dialogs().message(icon, text);
    return false;
}

std::optional<double> RecordEditor::numberIn(const QString& text) const
{
    return m_ws.formatter().typedNumber(text);
}

QStringList RecordEditor::countryLines() const
{
    QStringList lines;
    lines.reserve(m_countries.names.size());
    for (qsizetype i = 0; i < m_countries.names.size(); ++i)
        lines << m_countries.names.at(i) + QStringLiteral(" (") + m_countries.codes.at(i) +
                     QLatin1Char(')');
    return lines;
}

bool RecordEditor::CargarDatos(const QString& interno, qint64 line)
{
    try {
        m_row = ArticleStore(m_ws.work()).row(interno, line);
        if (!m_row)
            return false;
        const Article& a = *m_row;
        const FormatService& format = m_ws.formatter();
        EditorFields& f = m_fields;
        f.number = format.EsNull(a.number);
        f.description = format.EsNull(a.description);
        f.origin = format.EsNull(a.origin);
        f.quantity = fixed(a.quantity, 2);
        f.unitPrice = fixed(a.unitPrice, 5);
        f.total = fixed(a.total, 2);
        f.declaredUnit = format.EsNull(a.declaredUnit);
        f.position = format.EsNull(a.position);
        f.suffixes = format.EsNull(a.suffixes);
        f.statisticalUnitCaption = unitCaption(format.EsNull(a.statisticalUnit));
        f.statisticalQuantity = fixed(a.statisticalQuantity, 2);

        f.specificDutyUnit = format.EsNull(a.specificDutyUnit);
        if (hasSpecificDuty()) {
            f.specificDutyCaption =
                QStringLiteral("Derecho Especifico [") + f.specificDutyUnit + QLatin1Char(']');
            f.specificDutyQuantity = format.generalNumber(a.specificDutyQuantity.value_or(0));
        } else {
            f.specificDutyCaption.clear();
            f.specificDutyQuantity = QStringLiteral("0");
        }
        f.goodsCondition = format.EsNull(a.goodsCondition);

        // A row not checked "OK" must have its position confirmed again before a save.
        f.statisticalUnit.clear();
        f.lapi.clear();
        f.positionDescription.clear();
        f.confirmedPosition.clear();
        if (a.check == QLatin1String("OK")) {
            f.confirmedPosition = positionText(f.position);
            f.statisticalUnit = format.EsNull(a.statisticalUnit);
            f.lapi = a.lapi == QLatin1String("S") ? QStringLiteral("S") : QStringLiteral("N");
            if (const std::optional<NomenclatorPosition> found = lookUp(f.position))
                f.positionDescription = found->description;
        }

        // Without a country of its own, the row's invoice origin is offered.
        m_countries = OriginRelations::countries(m_ws.work());
        const QString country = a.country.isEmpty() ? a.origin : a.country;
        f.country = country.isEmpty() ? -1 : int(m_countries.codes.lastIndexOf(country));
        return true;
    } catch (const AppError& error) {
        return reportFailure(
            errorText(error, QStringLiteral(" - seccion [Aduplan.frmModificar.CargarDatos]")));
    }
}

bool RecordEditor::ProcesarNCM(QString p_NCM, SuffixEntry suffixes)
{
    BusyCursor busy(m_ws.progress());
    m_refused = Field::None;
    try {
        if (p_NCM.size() != 14 && p_NCM.size() != 15)
            return refuse(MessageIcon::Exclamation,
                          QStringLiteral("Error en la estructura de la posición"), Field::Position);
        p_NCM = positionText(p_NCM);
        const std::optional<NomenclatorPosition> found = lookUp(p_NCM);
        if (!found)
            return refuse(MessageIcon::Exclamation,
                          QStringLiteral("Posición no encontrada en Nomenclador"), Field::Position);
        EditorFields& f = m_fields;
        f.confirmedPosition = p_NCM;
        f.statisticalUnit = twoDigits(m_ws.formatter().EsNull(found->statisticalUnit));
        f.statisticalUnitCaption = unitCaption(f.statisticalUnit);
        f.positionDescription = found->description;
        if (suffixes == SuffixEntry::Ask)
            f.suffixes = VerificarSufijos(p_NCM, f.suffixes);
        f.lapi = m_ws.formatter().EsNull(found->lapi).isEmpty() ? QStringLiteral("N")
                                                                : QStringLiteral("S");
        return true;
    } catch (const AppError& error) {
        return reportFailure(
            numberFirst(error, QStringLiteral("Sección [Datafila.frmModificar.ProcesarNCM]")));
    }
}

QString RecordEditor::VerificarSufijos(const QString& position, const QString& previous)
{
    BusyCursor busy(m_ws.progress());
    OperatorDialogs& dialogs = m_ws.dialogs();
    try {
        NomenclatorTables tables(m_ws.nomenclator());
        const QStringList keys = Nomenclator::levelKeys(position);
        const QStringList groups = tables.suffixGroups(keys);
        if (groups.isEmpty()) {
            dialogs.message(MessageIcon::None,
                            QStringLiteral("No se encontro Sufijo en el nomenclador"));
            return QStringLiteral("SIN SUFIJOS");
        }
        QString built;
        const auto append = [&built](const QString& entry) {
            if (!built.trimmed().isEmpty())
                built += QLatin1Char('-');
            built += entry;
        };
        for (const QString& group : groups) {
            const QString prefix = group.trimmed();
            const QList<SuffixCode> codes = tables.suffixCodes(keys, prefix);
            if (codes.isEmpty())
                continue;
            const SuffixCode& first = codes.first();
            if (first.code.size() == 2) {
                const QString code = first.code.trimmed();
                const std::optional<QString> value =
                    askFreeValue(code, first.detail, previousValue(previous, code));
                if (!value)
                    return {};
                append(code + QLatin1Char('(') + *value + QLatin1Char(')'));
            } else if (first.code.size() == 4) {
                QStringList lines{prefix + QStringLiteral("00 - Ninguna opción")};
                for (const SuffixCode& option : codes)
                    lines << option.code.trimmed() + QStringLiteral(" - ") +
                                 option.detail.trimmed();
                const QString before = previousEntry(previous, prefix);
                const std::optional<QString> chosen = dialogs.chooseOption(
                    lines, before.isEmpty() ? 0 : firstLineStartingWith(lines, before));
                if (!chosen || chosen->isEmpty()) {
                    dialogs.message(MessageIcon::None, QStringLiteral("Error en generar sufijos"));
                    return {};
                }
                append(chosen->left(4));
            }
        }
        if (!built.endsWith(QLatin1Char('-')))
            built += QLatin1Char('-');
        return built;
    } catch (const AppError& error) {
        reportFailure(
            numberFirst(error, QStringLiteral("Seccion [Datavia.frmModificar.VarificarSufijos]")));
        return {};
    }
}

std::optional<QString> RecordEditor::askFreeValue(const QString& code, const QString& question,
                                                  const QString& previous)
{
    OperatorDialogs& dialogs = m_ws.dialogs();
    // Codes beginning with "Z" take six digits; every other code a text.
    const bool numeric = code.at(0).toUpper() == QLatin1Char('Z');
    for (;;) {
        const QString answer =
            dialogs.textInput(question, QStringLiteral("Ingrese Valor"), previous)
                .value_or(QString());
        if (answer.isEmpty() &&
            dialogs.question(QStringLiteral("Desea cancelar la operación"), DefaultAnswer::No))
            return std::nullopt;
        QString value = answer;
        for (const QChar c : {QLatin1Char('('), QLatin1Char(')'), QLatin1Char('-')})
            value.replace(c, QLatin1Char(' '));
        value = Nomenclator::LimpiarValor(value);
        if (!numeric) {
            if (!value.trimmed().isEmpty())
                return value;
        } else if (allDigits(value)) {
            return value.left(6).rightJustified(6, QLatin1Char('0'));
        } else {
            dialogs.message(MessageIcon::None, QStringLiteral("Debe Ingresar un Valor Númerico"));
        }
    }
}

bool RecordEditor::VerificarDatos()
{
    EditorFields& f = m_fields;
    m_refused = Field::None;
    try {
        SuffixValidator validator;
        validator.ConexionString(m_ws.directory());
        if (f.statisticalUnit.isEmpty())
            return refuse(MessageIcon::Exclamation,
                          QStringLiteral("Falta información sobre la posición arancelaria."));
        if (f.declaredUnit.trimmed().isEmpty())
            return refuse(MessageIcon::Exclamation,
                          QStringLiteral("Falta ingresar unidad declarada"));
        // Declared in the statistical unit, the statistical quantity is the invoice's: an
        // empty or zero one takes it.
        const bool sameUnit = f.statisticalUnit == f.declaredUnit;
        if (sameUnit && f.statisticalQuantity.trimmed().isEmpty())
            f.statisticalQuantity = f.quantity;
        const QString notNumber = QStringLiteral("Debe Ingresar un Valor Númerico");
        const std::optional<double> declared = numberIn(f.statisticalQuantity);
        if (!declared)
            return refuse(MessageIcon::Exclamation, notNumber, Field::StatisticalQuantity);
        if (sameUnit && *declared == 0)
            f.statisticalQuantity = f.quantity;
        else if (sameUnit && *declared != numberIn(f.quantity))
            return refuse(MessageIcon::Exclamation,
                          QStringLiteral("La Cantidad Declarada debe ser igual a la Cantidad "
                                         "Especifica"),
                          Field::StatisticalQuantity);
        if (hasSpecificDuty() && !numberIn(f.specificDutyQuantity))
            return refuse(MessageIcon::Exclamation, notNumber, Field::SpecificDutyQuantity);
        if (!numberIn(f.goodsCondition))
            return refuse(MessageIcon::Critical, QStringLiteral("Estado de mercaderia inválida"),
                          Field::GoodsCondition);
        if (f.country < 0 || f.country >= m_countries.codes.size())
            return refuse(MessageIcon::Exclamation,
                          QStringLiteral("Falta seleccionar el país de origen."));
        switch (validator.ValidarSufijos(positionText(f.position), f.suffixes)) {
        case 1:
            return refuse(MessageIcon::Exclamation, QStringLiteral("La posición es Inexistente!"));
        case 2:
            return refuse(MessageIcon::Exclamation, QStringLiteral("Sufijos inválidos"));
        default:
            return true;
        }
    } catch (const AppError& error) {
        return reportFailure(
            errorText(error, QStringLiteral(" - seccion [Aduplan.frmModificar_VerificarDatos]")));
    }
}

bool RecordEditor::GrabarDatos()
{
    m_refused = Field::None;
    if (!m_row)
        return false;
    // A position typed or chosen since the last confirmation is confirmed as Enter on it does.
    const EditorFields& f = m_fields;
    if (!f.statisticalUnit.isEmpty() && positionText(f.position) != f.confirmedPosition &&
        !ProcesarNCM(f.position))
        return false;
    return VerificarDatos() && save();
}

bool RecordEditor::save()
{
    const EditorFields& f = m_fields;
    Article a = *m_row;
    a.position = positionText(f.position);
    a.lapi = f.lapi;
    a.suffixes = m_ws.formatter().EsNull(f.suffixes);
    a.declaredUnit = m_ws.formatter().EsNull(f.declaredUnit);
    a.statisticalUnit = f.statisticalUnit;
    a.statisticalQuantity = numberIn(f.statisticalQuantity);
    if (hasSpecificDuty())
        a.specificDutyQuantity = numberIn(f.specificDutyQuantity);
    a.goodsCondition = m_ws.formatter().EsNull(f.goodsCondition);
    a.country = m_countries.codes.at(f.country);
    try {
        ArticleStore store(m_ws.work());
        // The row and its history entries are written together or not at all.
        TransactionGuard transaction(m_ws.work());
        if (store.saveCorrected(*m_row, a, hasSpecificDuty()) > 0) {
            TestSeam::reach("edit:saved");
            a.state = QStringLiteral("M");
            a.check = QStringLiteral("OK");
            HistoryStore(m_ws.work(), m_ws.historyAuthor()).recordEdit(*m_row, a);
            transaction.commit();
            return true;
        }
        if (!store.row(a.interno, a.line))
            return refuse(MessageIcon::Exclamation,
                          QStringLiteral("No se grabó el registro: el interno %1 ya no tiene "
                                         "la línea %2.")
                              .arg(a.interno)
                              .arg(a.line));
        // Changed meanwhile: what is stored now is shown, nothing of it overwritten.
        CargarDatos(a.interno, a.line);
        return refuse(MessageIcon::Exclamation,
                      QStringLiteral("El registro fue modificado mientras lo editaba; vuelva a "
                                     "abrirlo."));
    } catch (const AppError& error) {
        return reportFailure(
            errorText(error, QStringLiteral(" - seccion [Aduplan.frmModificar_GrabarDatos]")));
    }
}

QList<HistoryEntry> RecordEditor::history()
{
    if (!m_row)
        return {};
    try {
        return HistoryStore(m_ws.work(), m_ws.historyAuthor()).entries(m_row->interno, m_row->line);
    } catch (const AppError& error) {
        reportFailure(
            errorText(error, QStringLiteral(" - seccion [Aduplan.frmModificar_Historial]")));
    }
    return {};
}
