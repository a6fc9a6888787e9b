#pragma once
// Helpers shared by the main window's tests: a window over a temporary setup
// folder with scripted platform services, and deals of a known key value.
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "deals/DealCollection.h"
#include "deals/RandomSource.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/FakeServices.h"

// The first `count` deals dealt after seeding with `key`.
inline std::vector<TDeal> DealsOfKey(int key, int count) {
    TRandomSource source;
    source.SetSeed(key);
    std::vector<TDeal> deals(count);
    for (TDeal& deal : deals) deal.DealRandom(source);
    return deals;
}

// The four labels of a seat, spades first, as one text: "7532 A6 Q2 KJ842".
inline QString SeatText(const TMainWindow& window, int seat) {
    QStringList texts;
    for (const QLabel* label : window.HandLabels[seat - 1]) texts.append(label->text());
    return texts.join(u' ');
}

// The suit texts of a deal's hand in the same form.
inline QString HandText(TDeal& deal, int seat) {
    const auto texts = deal.Hand(seat).SuitTexts();  // clubs first
    return QStringList{QString::fromStdString(texts[3]), QString::fromStdString(texts[2]),
                       QString::fromStdString(texts[1]), QString::fromStdString(texts[0])}
        .join(u' ');
}

struct TWindowFixture {
    QTemporaryDir folder;
    std::shared_ptr<TFakeServices> services = std::make_shared<TFakeServices>();

    std::unique_ptr<TMainWindow> Open() {
        return std::make_unique<TMainWindow>(folder.path(), services);
    }
    QString SetupFile() const { return folder.filePath(QStringLiteral("generate.stp")); }
};
