#pragma once
// Stands in for the message boxes and file dialogs: supplies the file names a
// test queues and records every message and request.

#include <QString>
#include <QStringList>

#include "app/gui/user_dialogs.h"

namespace kalvoro {

struct SaveRequest {
    QString title, filter, proposedName, defaultSuffix;
};

class FakeDialogs : public UserDialogs {
public:
    QStringList messages;
    QStringList openNames;  // answers to the open dialog, in turn; none left = cancelled
    QStringList saveNames;  // answers to the save dialog
    QStringList openFilters;
    QList<SaveRequest> saveRequests;

    void showMessage(const QString& text) override { messages << text; }
    QString askOpenFileName(const QString& filter) override
    {
        openFilters << filter;
        return openNames.isEmpty() ? QString() : openNames.takeFirst();
    }
    QString askSaveFileName(const QString& title, const QString& filter, const QString& proposedName,
                            const QString& defaultSuffix) override
    {
        saveRequests.append({title, filter, proposedName, defaultSuffix});
        return saveNames.isEmpty() ? QString() : saveNames.takeFirst();
    }
};

}  // namespace kalvoro
