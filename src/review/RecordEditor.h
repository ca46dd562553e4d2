// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/ArticleStore.h"
#include "data/HistoryStore.h"
#include "data/NomenclatorTables.h"
#include "data/OriginRelations.h"
#include "workspace/OperatorDialogs.h"

#include <QString>

#include <optional>

class Workspace;

/**
 * What the record editor shows, as texts: the invoice part (read-only), the fields the
 * operator corrects, and the values the editor keeps beside them (the confirmed statistical
 * unit, the LAPI mark and the specific-duty unit). Before a record is loaded the fields hold
 * the window's initial texts.
 */
struct EditorFields {
    // The invoice part.
    QString number;
    QString description;
    QString origin;
    QString quantity;
    QString unitPrice;
    QString total;

    // The fields the operator corrects.
    QString position = QStringLiteral("8252.00.00.000B");
    QString statisticalQuantity = QStringLiteral("00.00");
    QString specificDutyQuantity = QStringLiteral("00.00");
    QString declaredUnit;
    QString goodsCondition;
    QString suffixes;
    /** The index of the country in the editor's country list; -1 when none is selected. */
    int country = -1;

    /** The statistical unit of the confirmed position; empty while it is not confirmed. */
    QString statisticalUnit;
    /** "S" or "N" once known; empty when the position must still be confirmed. */
    QString lapi;
    /** The record's specific-duty unit; empty when it has none (its quantity is then hidden). */
    QString specificDutyUnit;
    QString statisticalUnitCaption = QStringLiteral("Unidad Estadistica");
    QString specificDutyCaption = QStringLiteral("Derecho Especifico [01]");
    /** The nomenclator's text of the confirmed position. */
    QString positionDescription;
    /** The position the statistical unit and LAPI mark belong to, "," read as ".". */
    QString confirmedPosition;
};

/**
 * The rules of the record editor over one article row: loading it (`CargarDatos`), confirming
 * its position and regenerating its suffixes (`ProcesarNCM`, `VerificarSufijos`), checking it
 * (`VerificarDatos`) and saving it as corrected (`GrabarDatos`). The editor window and the
 * command line's edit both drive it; the operator is reached through the workspace's dialogs.
 */
class RecordEditor {
public:
    /** Whether the position check asks the suffixes again or keeps the suffix field. */
    enum class SuffixEntry { Ask, Keep };
    /** The field a refusal is about, for the window to put the operator back on it. */
    enum class Field { None, Position, StatisticalQuantity, SpecificDutyQuantity, GoodsCondition };

    explicit RecordEditor(Workspace& ws);

    EditorFields& fields() { return m_fields; }
    const EditorFields& fields() const { return m_fields; }
    /** The country names in name order; the identifiers line for line. */
    const OriginRelations::Countries& countries() const { return m_countries; }
    /** The country list as the operator sees it: each name with its code, "TAIWAN (313)". */
    QStringList countryLines() const;
    /** The field the last refused check or save is about; None when it was about no field. */
    Field refusedField() const { return m_refused; }
    /** Whether the record has a specific duty, whose quantity is then shown and saved. */
    bool hasSpecificDuty() const { return !m_fields.specificDutyUnit.isEmpty(); }

    /**
     * Loads the line of the interno and the country list; false when there is no such row.
     * The country is the row's own, else the one of its invoice origin (`ARTORG`).
     */
    bool CargarDatos(const QString& interno, qint64 line);
    /**
     * Confirms the position typed (a "," read as ".") against the nomenclator: its statistical
     * unit, LAPI mark and description, then its suffixes. False when the text is not a position
     * or the nomenclator does not have it (the operator was told). Enter on the position and a
     * save of a changed position both come here.
     */
    bool ProcesarNCM(QString p_NCM, SuffixEntry suffixes = SuffixEntry::Ask);
    /**
     * The suffix string for the position, asked from the operator group by group with the
     * previous string's values offered; "SIN SUFIJOS" when the position has none; the empty
     * text when the operator gave up or an error occurred.
     */
    QString VerificarSufijos(const QString& position, const QString& previous);
    /** Checks the fields rule by rule; the first failing rule is told and gives false. */
    bool VerificarDatos();
    /**
     * Verifies and saves the row as corrected (state "M", check "OK"); true when saved. A
     * position that differs from the confirmed one is confirmed first. A row changed by
     * someone else since it was loaded is not written: it is loaded again and the operator
     * told.
     */
    bool GrabarDatos();
    /**
     * The loaded row's history, oldest first; none before a row is loaded. A read failure is
     * told to the operator and gives none.
     */
    QList<HistoryEntry> history();

private:
    /** Tells the operator of a failure (critical icon); false, for the caller to return. */
    bool reportFailure(const QString& report);
    /** Tells the operator why the field (or none) cannot be taken; false. */
    bool refuse(MessageIcon icon, const QString& text, Field field = Field::None);
    /** The number a field holds; nothing when it is not one. */
    std::optional<double> numberIn(const QString& text) const;
    /** Writes the fields into the loaded row; true when it was written. */
    bool save();
    /** The nomenclator's row of a position text, a "," read as "."; the last character is
     *  taken as the check letter. */
    std::optional<NomenclatorPosition> lookUp(QString position);
    /** Asks the value of a free-value code until it is acceptable; nothing when the operator
     *  gives up. */
    std::optional<QString> askFreeValue(const QString& code, const QString& question,
                                        const QString& previous);

    Workspace& m_ws;
    EditorFields m_fields;
    OriginRelations::Countries m_countries;
    std::optional<Article> m_row;
    Field m_refused = Field::None;
};
