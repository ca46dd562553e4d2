// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/ArticleStore.h"
#include "review/RecordEditor.h"
#include "support/WorkHome.h"

/** The nomenclator and article rows the review tests work on. */
namespace ReviewHome {

using namespace Qt::StringLiterals;

/**
 * A home with review/editor.nomenclator.sql and .work.sql, a workspace opened on it and an
 * editor.
 */
struct Fixture : WorkHome {
    RecordEditor editor{ws};

    Fixture()
        : WorkHome({u"review/editor.nomenclator.sql"_s, u"review/editor.work.sql"_s})
    {}

    Article row(qint64 line) { return *ArticleStore(ws.work()).row(u"100"_s, line); }

    /** The last message as "icon:text" (0 none, 1 critical, 2 exclamation). */
    QString lastMessage() const
    {
        if (dialogs.messages.isEmpty())
            return {};
        return QString::number(int(dialogs.messages.last().icon)) + u':' +
               dialogs.messages.last().text;
    }
};

} // namespace ReviewHome
