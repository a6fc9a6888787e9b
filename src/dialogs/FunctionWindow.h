#pragma once
// The base of the function-insertion dialogs: a description line, the seat list
// and OK / Cancel. A dialog only builds the text of one function call from the
// user's choices and hands it back; the caller inserts it into the condition.
#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QFormLayout;
class QLabel;
class QPushButton;
class TNumberField;

class TFunctionWindow : public QDialog {
    Q_OBJECT
public:
    // owner: the main window (the dialog opens beside it) or nullptr.
    TFunctionWindow(QWidget* owner, const QString& description);

    // Places the dialog 100 pixels right of and 30 below its owner's corner,
    // titles it `name`, selects North and shows it modally. Returns the call
    // text when the user pressed OK, else the empty text (Cancel, Esc, close box).
    // Every dialog overrides it to fix the function's name and its presets.
    virtual QString Execute(const QString& name = QString());

protected:
    // The call text of the current choices; the window title is the function's name.
    virtual QString CallText() const = 0;

    QString FunctionName() const { return windowTitle(); }
    QString Seat() const;            // "North" ... "West"
    static QStringList SuitWords();  // "Clubs", "Diamonds", "Hearts", "Spades"

    // Adds a labelled row under the rows added before (at `row` when it is given).
    QLabel* AddRow(const char* labelName, const QString& labelText, QWidget* control, int row = -1);
    // Adds a line of text right under the description.
    QLabel* AddNote(const char* name, const QString& text);
    QComboBox* NewList(const char* name, const QStringList& items);
    TNumberField* NewNumberField(const char* name, int lowest, int highest, int maxChars,
                                 int value);
    // The field's value brought into its range, as the field itself does when it
    // loses the focus.
    static int ValueOf(TNumberField* field);
    static QString TextOf(TNumberField* field) { return QString::number(ValueOf(field)); }

    QLabel* lDescription;
    QLabel* lSeat;
    QComboBox* cmbSeat;
    QPushButton* btnOk;
    QPushButton* btnCancel;

private slots:
    void btnOkClick();
    void btnCancelClick();

private:
    QFormLayout* rows_;
    QString result_;
};
