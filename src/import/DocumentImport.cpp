#include "import/DocumentImport.h"

#include "app/Workspace.h"
#include "import/ArticleLoading.h"
#include "import/WordReader.h"

namespace {

/** Passes everything on to the operator's dialogs and notes whether a message was shown. */
class NotingDialogs : public OperatorDialogs {
public:
    explicit NotingDialogs(OperatorDialogs& dialogs)
        : m_dialogs(dialogs)
    {}
    bool messageShown() const { return m_messageShown; }

    void message(MessageIcon icon, const QString& text) override
    {
        m_messageShown = true;
        m_dialogs.message(icon, text);
    }
    bool question(const QString& text) override { return m_dialogs.question(text); }
    std::optional<QString> textInput(const QString& prompt, const QString& title,
                                     const QString& defaultText) override
    {
        return m_dialogs.textInput(prompt, title, defaultText);
    }
    std::optional<QString> chooseOption(const QStringList& lines, int preselected) override
    {
        return m_dialogs.chooseOption(lines, preselected);
    }
    std::optional<OriginRelation> originRelation(const QString& countryText) override
    {
        return m_dialogs.originRelation(countryText);
    }
    std::optional<QString> chooseFile(const QString& title, const QString& filter) override
    {
        return m_dialogs.chooseFile(title, filter);
    }

private:
    OperatorDialogs& m_dialogs;
    bool m_messageShown = false;
};

} // namespace

InvoiceRead LeerFactura(OperatorDialogs& dialogs, const QString& path)
{
    NotingDialogs reader(dialogs);
    const QString text = LeerDocumento(reader, path);
    if (reader.messageShown())
        return {ImportOutcome::Failed, {}};
    // A document of blank lines and empty paragraphs has nothing to import either.
    if (text.trimmed().isEmpty())
        return {ImportOutcome::NoText, {}};
    try {
        return {ImportOutcome::Loaded, InvoiceParser::parse(text)};
    } catch (const AppError& error) {
        dialogs.message(MessageIcon::Exclamation,
                        error.description() + QLatin1Char('\n') + QString::number(error.number()));
        return {ImportOutcome::Failed, {}};
    }
}

ImportOutcome ImportarDocumento(Workspace& ws, const QString& path, const QString& interno)
{
    BusyCursor busy(ws.progress());
    const InvoiceRead invoice = LeerFactura(ws.dialogs(), path);
    if (invoice.outcome != ImportOutcome::Loaded)
        return invoice.outcome;
    return CargarArticulos(ws, invoice.lines, interno) ? ImportOutcome::Loaded
                                                       : ImportOutcome::Failed;
}
