#pragma once
// Stands in for the message boxes and file dialogs: supplies the file names
// and sections a test queues and records every message and request.

#include <QDialog>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <functional>

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
    // Texts typed into "Trecho:" and "Posição:" in turn, then "Ok"; none left =
    // closed at once with the texts it holds. A handler, when set, runs instead.
    QList<QStringList> sections;
    std::function<void(QDialog&)> sectionHandler;
    // What the other dialogs (the load train's) do; none = closed at once.
    std::function<void(QDialog&)> dialogHandler;
    int sectionRequests = 0;

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
    void runDialog(QDialog& dialog) override
    {
        if (dialogHandler) dialogHandler(dialog);
    }
    void askSection(QDialog& dialog) override
    {
        ++sectionRequests;
        if (sectionHandler) return sectionHandler(dialog);
        if (sections.isEmpty()) return;
        const QStringList typed = sections.takeFirst();
        dialog.findChild<QLineEdit*>(QStringLiteral("TrechoEdit"))->setText(typed.at(0));
        dialog.findChild<QLineEdit*>(QStringLiteral("PosEdit"))->setText(typed.at(1));
        dialog.accept();
    }
};

}  // namespace kalvoro
