#pragma once
// The condition editor's text: its lines as the generator reads them, text
// put in at the caret, and the caret put at an error's offset.
#include <QStringList>

class QPlainTextEdit;

// The editor's lines; an empty editor has none.
QStringList EditorLines(const QPlainTextEdit& editor);
// Replaces the selection (or inserts at the caret) by a non-empty text and
// leaves the caret right after it.
void InsertEditorText(QPlainTextEdit& editor, const QString& text);
// Puts a whole condition into the editor, never glued onto one already there:
// in place of the selection when there is one; joined to the editor's
// condition as "(old) AND (new)" when it holds one; else inserted. The caret
// ends after it.
void PutEditorCondition(QPlainTextEdit& editor, const QString& condition);
// The offset counts characters of the editor's lines joined with nothing
// between them; the caret goes to the same character in the editor (to the
// end when the offset lies beyond).
void PutCaretAtJoinedOffset(QPlainTextEdit& editor, int offset);
