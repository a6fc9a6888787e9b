#include "dialogs/RepeatRunWindow.h"

#include <QDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <functional>
#include <limits>
#include <vector>

#include "widgets/DialogButtons.h"
#include "widgets/ErrorLabel.h"
#include "widgets/ScreenFit.h"

namespace {

// A field after the first: its label, its name and its text.
struct TMoreField {
    QString Label;
    QString Name;
    QString Text;
};

// One field of room for `characters` (and the fields `more` under it), read
// when OK is pressed: `refusal` gives the message for a text it does not take,
// or an empty text for one it does.
bool AskText(QWidget* owner, const QString& title, const QString& what, const QString& field,
             int characters, QString& text, const std::function<QString(const QString&)>& refusal,
             std::vector<TMoreField>* more = nullptr) {
    QDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(&dialog);
    auto* description = new QLabel(what, &dialog);
    description->setObjectName(QStringLiteral("lDescription"));
    layout->addWidget(description);
    auto* edit = new QLineEdit(text, &dialog);
    edit->setObjectName(QStringLiteral("edValue"));
    edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(characters + 2, u'0')));
    auto* rows = new QFormLayout;
    rows->addRow(field, edit);
    std::vector<QLineEdit*> moreEdits;
    for (const TMoreField& added : more != nullptr ? *more : std::vector<TMoreField>()) {
        moreEdits.push_back(new QLineEdit(added.Text, &dialog));
        moreEdits.back()->setObjectName(added.Name);
        rows->addRow(added.Label, moreEdits.back());
    }
    layout->addLayout(rows);
    auto* error = new TErrorLabel(&dialog);
    layout->addWidget(error);
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    layout->addLayout(NewOkCancelRow(&dialog, ok, cancel));
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        for (std::size_t i = 0; i < moreEdits.size(); ++i) (*more)[i].Text = moreEdits[i]->text();
        const QString message = refusal(edit->text());
        if (message.isEmpty()) {
            dialog.accept();
            return;
        }
        error->ShowMessage(message);
        // A message that wraps makes the dialog taller rather than squeezing its lines.
        layout->activate();
        const int height = layout->totalHeightForWidth(dialog.width());
        dialog.setMinimumHeight(height);
        dialog.resize(dialog.width(), std::max(height, dialog.height()));
    });
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    edit->selectAll();
    edit->setFocus();
    if (owner != nullptr) dialog.move(owner->pos() + QPoint(100, 30));
    FitIntoScreen(&dialog);
    if (dialog.exec() != QDialog::Accepted) return false;
    text = edit->text();
    for (std::size_t i = 0; i < moreEdits.size(); ++i) (*more)[i].Text = moreEdits[i]->text();
    return true;
}

QString WithoutBlanks(const QString& text) {
    QString result;
    for (const QChar c : text)
        if (!c.isSpace()) result += c;
    return result;
}

bool IsHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

}  // namespace

std::optional<uint32_t> ReadRunKey(const QString& text) {
    const std::string digits = text.trimmed().toStdString();
    const char* end = digits.data() + digits.size();
    int64_t value = 0;
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || stop != end ||
        value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::optional<uint32_t> AskRunKey(QWidget* owner, const QString& title, const QString& what,
                                  std::optional<uint32_t> last) {
    QString text = last ? QString::number(static_cast<int32_t>(*last)) : QString();
    const auto refusal = [](const QString& typed) {
        return ReadRunKey(typed) ? QString()
                                 : QStringLiteral(
                                       "Ключ прогона — целое число от -2147483648 "
                                       "до 2147483647 или от 0 до 4294967295.");
    };
    if (!AskText(owner, title, what, QStringLiteral("Ключ прогона"), 11, text, refusal))
        return std::nullopt;
    return ReadRunKey(text);
}

std::optional<TSecretAnswer> AskRunSecret(QWidget* owner, const QString& title, const QString& what,
                                          bool withCommitment) {
    QString text;
    std::vector<TMoreField> more = {
        {QStringLiteral("Отложенный текст"), QStringLiteral("edDelayed"), QString()}};
    if (withCommitment)
        more.push_back({QStringLiteral("Commitment"), QStringLiteral("edCommitment"), QString()});
    const auto refusal = [&more](const QString& typed) {
        if (more.size() > 1 && !WithoutBlanks(more[1].Text).isEmpty() &&
            !ReadSecret(WithoutBlanks(more[1].Text).toStdString()))
            return QStringLiteral(
                "Commitment — 64 шестнадцатеричные цифры, как их печатает "
                "надёжный прогон.");
        const QString digits = WithoutBlanks(typed);
        if (ReadSecret(digits.toStdString())) return QString();
        for (const QChar c : digits)
            if (!IsHexDigit(c))
                return QStringLiteral(
                           "В секрете только шестнадцатеричные цифры 0–9 и a–f, "
                           "а «%1» — не такая цифра.")
                    .arg(c);
        return QStringLiteral("В секрете %1 шестнадцатеричные цифры, а здесь их %2.")
            .arg(TSecret::Size * 2)
            .arg(digits.size());
    };
    if (!AskText(owner, title, what, QStringLiteral("Секрет"), TSecret::Size * 2, text, refusal,
                 &more))
        return std::nullopt;
    TSecretAnswer answer;
    answer.Secret = *ReadSecret(WithoutBlanks(text).toStdString());
    answer.Delayed = more[0].Text.toStdString();
    if (more.size() > 1 && !WithoutBlanks(more[1].Text).isEmpty())
        answer.Commitment = ReadSecret(WithoutBlanks(more[1].Text).toStdString());
    return answer;
}
