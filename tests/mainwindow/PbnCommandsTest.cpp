// PBN files through the main window's open and save deals commands.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTimer>
#include <sstream>

#include "deals/PbnFile.h"
#include "support/WindowFixture.h"
#include "widgets/NumberField.h"

namespace {

// Scripted choosers that also answer with a file type, and remember the
// filters they were shown with.
class TTypedServices : public TFakeServices {
public:
    QString ChooseFileToOpen(QWidget* parent, const TFileChooser& chooser) override {
        filters.append(chooser.Filter);
        return TFakeServices::ChooseFileToOpen(parent, chooser);
    }
    QString ChooseFileToSaveWithType(QWidget* parent, const TFileChooser& chooser,
                                     int& fileType) override {
        filters.append(chooser.Filter);
        fileType = nextType;
        *chooser.FirstBoard = nextFirstBoard;
        return ChooseFileToSave(parent, chooser);
    }

    int nextType = -1;
    int nextFirstBoard = 1;  // "Первая сдача" as typed in the chooser
    QStringList filters;
};

const QByteArray DealsFileHeader = "This is Deals File of Tavex's Bridge Generator\r\n";

}  // namespace

class TPbnCommandsTest : public QObject {
    Q_OBJECT

    TWindowFixture fixture_;
    std::shared_ptr<TTypedServices> services_;
    std::unique_ptr<TMainWindow>& window_ = fixture_.window;
    TMainWindowControls& Ui() { return window_->Controls(); }

    QString File(const QString& name) const { return fixture_.File(name); }

    // A PBN file with the first `count` deals of a key and, after them, a game
    // whose Deal tag is cut short.
    QString WritePbnOfKey(const QString& name, int key, int count) {
        TDeals deals;
        for (const TDeal& deal : DealsOfKey(key, count)) deals.Add(deal);
        std::ostringstream out;
        WritePbn(out, deals, key);
        out << "\r\n[Board \"99\"]\r\n[Deal \"N:AKQ.AKQ.AKQ.AKQ - - -\"]\r\n";
        QFile file(File(name));
        if (!file.open(QIODevice::WriteOnly)) return {};
        file.write(QByteArray::fromStdString(out.str()));
        return file.fileName();
    }

private slots:
    void init() {
        services_ = std::make_shared<TTypedServices>();
        fixture_.services = services_;
        window_ = fixture_.Open();
    }
    void cleanup() { fixture_.Renew(); }

    // Both choosers offer the formats table's kinds after the existing types.
    void BothChoosersOfferPbnAfterTheExistingTypes() {
        AddDeals(*window_, 1, 1);
        window_->itmOpenDealsClick();  // cancelled
        window_->itmSaveDealsClick();  // cancelled
        QCOMPARE(services_->filters.size(), 2);
        QStringList types = {
            QStringLiteral("Раздачи (*.dls)"),     QStringLiteral("Все файлы (*)"),
            QStringLiteral("Раздачи PBN (*.pbn)"), QStringLiteral("Раздачи LIN (*.lin)"),
            QStringLiteral("Раздачи BER (*.ber)"), QStringLiteral("Раздачи CSV (*.csv)"),
            QStringLiteral("Раздачи BHG (*.bhg)"), QStringLiteral("Раздачи RZD (*.rzd)"),
            QStringLiteral("Раздачи CDS (*.cds)")};
        QCOMPARE(services_->filters[1].split(QStringLiteral(";;")), types);
        // Opening also finds every deals file at once.
        types.insert(2, QStringLiteral(
                            "Все файлы раздач (*.dls *.pbn *.lin *.ber *.csv *.bhg *.rzd *.cds)"));
        QCOMPARE(services_->filters[0].split(QStringLiteral(";;")), types);
    }

    void SaveFollowsTheChosenType_data() {
        QTest::addColumn<int>("fileType");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        const auto row = [](const char* caseName, int fileType, QString name, QString format) {
            QTest::newRow(caseName) << fileType << name << format;
        };
        row("PBN type, .pbn name", 2, "a.pbn", "pbn");
        row("PBN type, other name", 2, "b.txt", "pbn");
        row("deals type, .pbn name", 0, "c.pbn", "pbn");
        row("all files, .PBN name", 1, "d.PBN", "pbn");
        row("all files, .dls name", 1, "e.dls", "dls");
        row("type not told, .pbn name", -1, "f.pbn", "pbn");
        row("type not told, .dls name", -1, "g.dls", "dls");
        row("LIN type, other name", 3, "h.txt", "lin");
        row("all files, .LIN name", 1, "i.LIN", "lin");
        row("deals type, .lin name", 0, "j.lin", "lin");
    }
    void SaveFollowsTheChosenType() {
        QFETCH(int, fileType);
        QFETCH(QString, name);
        QFETCH(QString, format);
        AddDeals(*window_, 1, 3);
        Ui().seKeyValue->SetValue(4321);
        services_->nextType = fileType;
        services_->answers = {File(name)};
        window_->itmSaveDealsClick();
        const QStringList saved = QDir(fixture_.Folder()).entryList({name + u'*'});  // b.txt.pbn
        QVERIFY(saved.size() == 1 && saved[0].endsWith(u'.' + format, Qt::CaseInsensitive));
        const QByteArray bytes = ReadAll(File(saved[0]));
        if (format == "pbn") {
            QVERIFY(bytes.startsWith("% PBN 2.1\r\n"));
            QVERIFY(!bytes.contains("[Generator"));  // no run dealt them: no origin named
            QVERIFY(bytes.contains("[Board \"3\"]\r\n"));
        } else if (format == "lin") {
            QVERIFY(bytes.startsWith("qx|o1|md|3S"));
            QCOMPARE(bytes.count('\n'), 3);
            QVERIFY(bytes.contains("|ah|Board 3|sv|e|pg||\n"));
        } else {
            QVERIFY(bytes.startsWith(DealsFileHeader));
        }
        QCOMPARE(services_->messages,
                 QStringList({QStringLiteral("3 раздач(и) сохранены в файле ") + File(saved[0])}));
        window_->itmOpenDealsClick();  // cancelled: shows where the chooser starts now
        QCOMPARE(services_->openedIn.last(), fixture_.Folder() + u'/');
    }

    void OpeningPbnAppendsTheDealsAndTellsLoadedAndSkipped() {
        AddDeals(*window_, 8, 2);
        const QString name = WritePbnOfKey(QStringLiteral("club.pbn"), 5, 3);
        services_->answers = {name};
        window_->itmOpenDealsClick();
        QCOMPARE(window_->Deals().Count(), 5);
        TDeals expected;
        for (const TDeal& deal : DealsOfKey(5, 3)) expected.Add(deal);
        QCOMPARE(DealLines(window_->Deals(), 2), DealLines(expected));
        QCOMPARE(Ui().seCurrentDeal->Value(), 3);
        QCOMPARE(Ui().seCurrentDeal->Highest(), 5);
        QCOMPARE(Ui().lTotal->text(), QStringLiteral("5"));
        QCOMPARE(SeatText(*window_, 1), HandText(*window_->Deals().GetDeal(2), 1));
        QCOMPARE(services_->messages,
                 QStringList(
                     {QStringLiteral("Из файла ") + name +
                      QStringLiteral(" загружено раздач: 3; пропущено игр без полной раздачи: 1; "
                                     "повреждена раздача сдачи 99")}));
        window_->itmOpenDealsClick();  // cancelled
        QCOMPARE(services_->openedIn.last(), fixture_.Folder() + u'/');
    }

    // A file named on the command line opens as the open command opens it,
    // asking nothing.
    void AFileNamedAtStartOpensAsOpenDoes() {
        const QString name = WritePbnOfKey(QStringLiteral("start.pbn"), 5, 3);
        window_->OpenDealsFile(name);
        QCOMPARE(window_->Deals().Count(), 3);
        QCOMPARE(Ui().seCurrentDeal->Value(), 1);
        QCOMPARE(Ui().lTotal->text(), QStringLiteral("3"));
        QVERIFY(services_->filters.isEmpty());
    }

    // The content decides, as in korvana-cli: PBN under a deals file's name
    // is read as PBN, a deals file under a PBN name as a deals file.
    void OpeningGoesByTheContentNotTheName() {
        const QString pbn = WritePbnOfKey(QStringLiteral("pbn inside.dls"), 5, 3);
        services_->answers = {pbn};
        window_->itmOpenDealsClick();
        QCOMPARE(window_->Deals().Count(), 3);
        QCOMPARE(services_->messages.size(), 1);
        QVERIFY(services_->messages[0].contains(QStringLiteral("загружено раздач: 3")));

        const QString deals = File(QStringLiteral("deals inside.pbn"));
        window_->Deals().WriteFile(deals.toStdString());
        services_->answers = {deals};
        window_->itmOpenDealsClick();
        QCOMPARE(window_->Deals().Count(), 6);
        QCOMPARE(services_->messages.size(), 1);
    }

    void APbnFileWithoutDealsIsRefused() {
        AddDeals(*window_, 8, 2);
        const QString name = WritePbnOfKey(QStringLiteral("nothing.pbn"), 5, 0);
        services_->answers = {name};
        window_->itmOpenDealsClick();
        QCOMPARE(window_->Deals().Count(), 2);
        QCOMPARE(Ui().seCurrentDeal->Value(), 1);
        QCOMPARE(services_->messages, QStringList({QStringLiteral("Файл ") + name +
                                                   QStringLiteral(" не содержит раздачи")}));
        window_->itmOpenDealsClick();                     // cancelled
        QCOMPARE(services_->openedIn.last(), QString());  // the folder did not follow
    }

    // The desktop's save chooser tells the chosen type, and a name typed
    // without an extension gets the chosen type's one.
    void DesktopChooserTellsTheChosenType() {
        TDesktopServices desktop;
        const TFileChooser chooser{
            QStringLiteral("Раздачи (*.dls);;Все файлы (*);;Раздачи PBN (*.pbn)"),
            QStringLiteral("dls"), fixture_.Folder()};
        QTimer::singleShot(0, [] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QFileDialog*>(widget);
                    dialog && dialog->isVisible()) {
                    // As the user picks the type in the chooser's list of types.
                    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                    if (!types) return;
                    types->setCurrentIndex(2);
                    emit types->activated(2);
                    emit types->textActivated(types->itemText(2));
                    dialog->selectFile(QStringLiteral("typed"));
                    static_cast<QDialog*>(dialog)->accept();
                }
            }
        });
        QTimer::singleShot(10000, [] {  // a chooser left open fails the test instead of hanging it
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QFileDialog*>(widget)) dialog->close();
            }
        });
        int fileType = -1;
        const QString name = desktop.ChooseFileToSaveWithType(nullptr, chooser, fileType);
        QCOMPARE(fileType, 2);
        QCOMPARE(QFileInfo(name).fileName(), QStringLiteral("typed.pbn"));
    }

    // "Первая сдача" numbers the saved boards, West dealing board 16.
    void SaveNumbersFromTheFirstBoard() {
        AddDeals(*window_, 1, 2);
        services_->nextType = 3;
        services_->nextFirstBoard = 16;
        services_->answers = {File(QStringLiteral("late.lin"))};
        window_->itmSaveDealsClick();
        const QByteArray lin = ReadAll(File(QStringLiteral("late.lin")));
        QVERIFY(lin.startsWith("qx|o16|md|2S") && lin.contains("\nqx|o17|md|3S"));
    }

    void SavedPbnOpensAsTheSameDeals() {
        AddDeals(*window_, 1, 4);
        const QStringList generated = DealLines(window_->Deals());
        services_->nextType = 2;
        services_->answers = {File(QStringLiteral("round.pbn"))};
        window_->itmSaveDealsClick();
        window_->itmClearClick();
        QCOMPARE(window_->Deals().Count(), 0);
        services_->answers = {File(QStringLiteral("round.pbn"))};
        window_->itmOpenDealsClick();
        QCOMPARE(DealLines(window_->Deals()), generated);
        QCOMPARE(Ui().seCurrentDeal->Value(), 1);

        // And back to a deals file, which opens as the same deals once more.
        services_->nextType = 0;
        services_->answers = {File(QStringLiteral("round.dls"))};
        window_->itmSaveDealsClick();
        services_->answers = {File(QStringLiteral("round.dls"))};
        window_->itmOpenDealsClick();
        QCOMPARE(DealLines(window_->Deals(), 4), generated);
    }
};

QTEST_MAIN(TPbnCommandsTest)
#include "PbnCommandsTest.moc"
