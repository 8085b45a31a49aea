#pragma once
// The load train dialog (Ferramentas -> "Trem-tipo..."): the train's title,
// its uniform load and its axles as a table (P, a), which opens and saves
// ".trem" files. The fields are checked by the train file's own reader, so
// the dialog refuses exactly what a file would; OK closes it only on a train
// that reads. "Sem trem-tipo" closes it leaving no train set.

#include <QDialog>
#include <optional>
#include <string>

#include "data/train_file.h"

class QLineEdit;
class QTableWidget;

namespace kalvoro {

class UserDialogs;

class TremDialog : public QDialog {
    Q_OBJECT
public:
    TremDialog(UserDialogs& dialogs, QWidget* parent = nullptr);

    // Fills the fields; without a train, one axle of 100 and no uniform load.
    void setTrain(const std::optional<Train>& t);
    // What the dialog closed with: the train, or none after "Sem trem-tipo".
    const std::optional<Train>& train() const { return train_; }

    // The train the fields describe, or the reader's message naming the line.
    std::optional<Train> fieldsTrain(std::string& message) const;

    void openFile();  // "Abrir..." : a .trem file into the fields
    void saveFile();  // "Salvar...": the fields as a .trem file
    void addAxle();
    void removeAxle();
    void noTrain();  // "Sem trem-tipo"
    void accept() override;

    QLineEdit* titleEdit() const { return title_; }
    QLineEdit* uniformEdit() const { return q_; }
    QTableWidget* axleTable() const { return axles_; }

private:
    // The fields as the file's text (UTF-8).
    std::string fieldsText() const;

    UserDialogs& dialogs_;
    QLineEdit* title_;
    QLineEdit* q_;
    QTableWidget* axles_;
    std::optional<Train> train_;
};

}  // namespace kalvoro
