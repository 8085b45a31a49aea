#pragma once
// The configuration dialog: the beam's title (the data file's first line) and
// the four options of the diagrams. Its controls are the values: the main
// window reads them each time it writes the data file or draws, and a read of
// the data file sets the title field. Nothing is stored on disk.

#include <QDialog>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kalvoro {

struct DiagramSettings;

class TForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // A title longer than LongTitle characters (a data file's first line may
    // be megabytes long) is shown cut, since laying out such a line freezes
    // the dialog; it is kept whole until the user edits the field.
    std::string title() const;
    void setTitle(const std::string& title);
    static constexpr int LongTitle = 1000;
    // Span numbers (CheckBox1, UpDown7) and loads (CheckBox2, UpDown1).
    void copyOptionsTo(DiagramSettings& s) const;

    QLineEdit* Edit1() const { return edit1_; }
    QCheckBox* CheckBox1() const { return checkBox1_; }
    QSpinBox* UpDown7() const { return upDown7_; }
    QCheckBox* CheckBox2() const { return checkBox2_; }
    QSpinBox* UpDown1() const { return upDown1_; }
    QPushButton* okButton() const { return ok_; }

private:
    std::string longTitle_;  // the whole title while the field shows it cut
    QString cutTitle_;       // what the field then shows
    QLineEdit* edit1_;
    QCheckBox* checkBox1_;
    QSpinBox* upDown7_;
    QCheckBox* checkBox2_;
    QSpinBox* upDown1_;
    QPushButton* ok_;
};

}  // namespace kalvoro
