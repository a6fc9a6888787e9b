#include "mainwindow/ConditionEditor.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

QStringList EditorLines(const QPlainTextEdit& editor) {
    // The raw text keeps a no-break space as it was typed or read (the plain
    // text would turn it into a blank, which the condition reads differently).
    QString text = editor.document()->toRawText();
    if (text.isEmpty()) return {};
    text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    return text.split(u'\n');
}

void InsertEditorText(QPlainTextEdit& editor, const QString& text) {
    if (text.isEmpty()) return;
    QTextCursor cursor = editor.textCursor();
    cursor.insertText(text);  // replaces the selection, leaves the caret after the text
    editor.setTextCursor(cursor);
}

void PutEditorCondition(QPlainTextEdit& editor, const QString& condition) {
    if (condition.isEmpty()) return;
    const QString old = editor.document()->toRawText();
    qsizetype end = old.size();  // the old condition without the blanks and lines after it
    const auto blank = [](QChar c) {
        return c == u' ' || c == u'\t' || c == QChar::ParagraphSeparator ||
               c == QChar::LineSeparator;
    };
    while (end > 0 && blank(old[end - 1])) --end;
    if (editor.textCursor().hasSelection() || end == 0) {
        InsertEditorText(editor, condition);
        return;
    }
    // One step for undo; the old text stays as it was typed between the brackets.
    QTextCursor cursor(editor.document());
    cursor.beginEditBlock();
    cursor.setPosition(static_cast<int>(end));
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.insertText(QStringLiteral(") AND (") + condition + u')');
    const int after = cursor.position();
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(QStringLiteral("("));
    cursor.endEditBlock();
    cursor.setPosition(after + 1);
    editor.setTextCursor(cursor);
}

void PutCaretAtJoinedOffset(QPlainTextEdit& editor, int offset) {
    QTextDocument* document = editor.document();
    int remaining = std::max(0, offset);
    int position = document->characterCount() - 1;  // the end, when the offset lies beyond
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        int index = 0;  // UTF-16 index of the character `remaining` within this line
        while (index < text.size() && remaining > 0) {
            index += text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
            --remaining;
        }
        if (index < text.size() || !block.next().isValid()) {
            position = block.position() + index;
            break;
        }
    }
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(position);
    editor.setTextCursor(cursor);
}
