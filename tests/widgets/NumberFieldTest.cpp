// The number field: its value, range, clamping and change notifications.
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "widgets/NumberField.h"

class TNumberFieldTest : public QObject {
    Q_OBJECT
private slots:
    void ValueOfText_data() {
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("highest");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("number") << 1 << 9 << "7" << 7;
        QTest::newRow("typed beyond the range reads as typed") << 1 << 9 << "12" << 12;
        QTest::newRow("no number reads as the lowest") << 1 << 5 << "abc" << 1;
        QTest::newRow("empty reads as the lowest") << 1 << 5 << "" << 1;
        QTest::newRow("no range, no number") << 0 << 0 << "x1" << 0;
        QTest::newRow("negative") << 0 << 0 << "-5" << -5;
        QTest::newRow("blanks around") << 0 << 0 << " 42 " << 42;
        QTest::newRow("a sign alone") << 3 << 7 << "-" << 3;
        QTest::newRow("beyond 32 bits") << 2 << 7 << "99999999999" << 2;
    }
    void ValueOfText() {
        QFETCH(int, lowest);
        QFETCH(int, highest);
        QFETCH(QString, text);
        QFETCH(int, value);
        TNumberField field;
        field.SetRange(lowest, highest);
        field.SetText(text);
        QCOMPARE(field.Value(), value);
    }

    void SetValueClampsOnlyWithARange_data() {
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("highest");
        QTest::addColumn<int>("set");
        QTest::addColumn<QString>("shown");
        QTest::newRow("below") << 1 << 9999999 << 0 << "1";
        QTest::newRow("above") << 1 << 9 << 12 << "9";
        QTest::newRow("inside") << 1 << 9 << 4 << "4";
        QTest::newRow("no range") << 0 << 0 << -77 << "-77";
        QTest::newRow("equal bounds mean no range") << 5 << 5 << 12 << "12";
    }
    void SetValueClampsOnlyWithARange() {
        QFETCH(int, lowest);
        QFETCH(int, highest);
        QFETCH(int, set);
        QFETCH(QString, shown);
        TNumberField field;
        field.SetRange(lowest, highest);
        field.SetValue(set);
        QCOMPARE(field.Text(), shown);
    }

    void SetRangeKeepsTheShownText() {
        TNumberField field;
        field.SetValue(3);
        field.SetRange(1, 2);
        QCOMPARE(field.Text(), QStringLiteral("3"));
    }

    void EveryTextChangeReachesTheHandler() {
        TNumberField field;
        QSignalSpy changed(&field, &TNumberField::Changed);
        field.SetText("1");
        field.SetText("1a");
        field.SetValue(4);
        QCOMPARE(changed.count(), 3);
        field.SetValue(4);  // same text: no change
        QCOMPARE(changed.count(), 3);
    }

    void ArrowsStepWithinTheRangeWithoutWrapping() {
        TNumberField field;
        field.SetRange(1, 5);
        field.SetValue(5);
        field.stepBy(1);
        QCOMPARE(field.Value(), 5);
        field.SetValue(1);
        field.stepBy(-1);
        QCOMPARE(field.Value(), 1);
        field.stepBy(1);
        QCOMPARE(field.Value(), 2);
    }

    void MaxLengthLimitsTypingOnly() {
        QWidget window;
        auto* field = new TNumberField(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        field->SetMaxLength(5);
        field->SetValue(-123456);  // a key value restored from the setup file
        QCOMPARE(field->Value(), -123456);
        field->SetText(QString());
        field->setFocus();
        QTest::keyClicks(field, "1234567");
        QCOMPARE(field->Text(), QStringLiteral("12345"));
    }

    void LosingTheFocusClampsTheShownNumber() {
        QWidget window;
        auto* field = new TNumberField(&window);
        auto* other = new QLineEdit(&window);
        other->move(0, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        field->SetRange(1, 5);
        field->setFocus();
        field->SetText("17");
        QCOMPARE(field->Value(), 17);
        other->setFocus();
        QTRY_COMPARE(field->Text(), QStringLiteral("5"));
        // Text that is no number stays as typed: it already reads as the lowest value.
        field->setFocus();
        field->SetText("zz");
        other->setFocus();
        QTRY_VERIFY(!field->hasFocus());
        QCOMPARE(field->Text(), QStringLiteral("zz"));
        QCOMPARE(field->Value(), 1);
    }
};

QTEST_MAIN(TNumberFieldTest)
#include "NumberFieldTest.moc"
