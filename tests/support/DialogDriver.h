#pragma once
// Drives modal dialogs in tests: the steps run inside the dialog's own event
// loop once it is open, so Execute() can be called as the program calls it.
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>

#include "widgets/NumberField.h"

// Runs `steps` on the next modal dialog as soon as it is shown. A dialog the
// steps leave open is rejected after a few seconds, so a test fails instead of
// hanging.
inline void WhenDialogOpens(std::function<void(QDialog&)> steps) {
    auto* poll = new QTimer;
    const QDeadlineTimer deadline(5000);
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, steps] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog && !deadline.hasExpired()) return;
        poll->stop();
        poll->deleteLater();
        if (!dialog) return;
        QTimer::singleShot(5000, dialog, [dialog] { dialog->reject(); });
        steps(*dialog);
    });
    poll->start(5);
}

// The widget that has the keyboard focus, once the dialog is the active window
// (a loaded machine may show the dialog before it is activated); nullptr when
// none has it within a few seconds.
inline QWidget* KeyboardFocus(QDialog& dialog) {
    if (QApplication::focusWidget() == nullptr) {
        QApplication::setActiveWindow(&dialog);
        dialog.activateWindow();
        if (!QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 5000))
            return nullptr;
    }
    return QApplication::focusWidget();
}

inline void ClickOk(QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QPushButton*>("btnOk"), Qt::LeftButton);
}

inline void ChooseItem(QDialog& dialog, const char* list, const QString& item) {
    auto* combo = dialog.findChild<QComboBox*>(list);
    QVERIFY(combo);
    const int index = combo->findText(item);
    QVERIFY(index >= 0);
    combo->setCurrentIndex(index);
}

// Replaces the text of a number field by typing, as a person would.
inline void TypeInto(QDialog& dialog, const char* field, const QString& keys) {
    auto* numberField = dialog.findChild<TNumberField*>(field);
    QVERIFY(numberField);
    numberField->setFocus();
    numberField->selectAll();
    QTest::keyClicks(numberField, keys);
}

// Makes the choices, given as pairs of a control's name and a value: an item
// of a list (names starting with "cmb") or keys typed into a number field.
inline void MakeChoices(QDialog& dialog, const QStringList& choices) {
    for (qsizetype i = 0; i + 1 < choices.size(); i += 2) {
        const QByteArray name = choices[i].toLatin1();
        if (name.startsWith("cmb"))
            ChooseItem(dialog, name.constData(), choices[i + 1]);
        else
            TypeInto(dialog, name.constData(), choices[i + 1]);
    }
}
