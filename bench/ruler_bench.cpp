// ruler_bench: what an edit costs the line-number ruler on a long text. Prints the time
// of the first full scan of a 100,000-line text, then of the rebuild after a typed
// character at the end, in the middle and at the start, with the number of line starts
// each rebuild stored. Run by hand: QT_QPA_PLATFORM=offscreen build/bin/ruler_bench

#include <tolmere/LineNumberTextEdit.h>
#include <tolmere/LineNumberView.h>

#include <QtCore/QElapsedTimer>
#include <QtGui/QTextBlock>
#include <QtGui/QTextCursor>
#include <QtWidgets/QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    constexpr int kLines = 100000;
    QStringList lines;
    for (int i = 0; i < kLines; ++i)
        lines << QStringLiteral("line %1 of the long text").arg(i + 1);

    LineNumberTextEdit edit;
    edit.setPlainText(lines.join(QLatin1Char('\n')));
    LineNumberView ruler(&edit);

    QElapsedTimer timer;
    timer.start();
    ruler.lineIndices();
    std::printf("full scan of %d lines: %.3f ms, %lld line starts stored\n", kLines,
                timer.nsecsElapsed() / 1e6, static_cast<long long>(ruler.scannedLineCount()));

    const struct
    {
        const char *where;
        int block;
    } edits[] = {{"end", kLines - 1}, {"middle", kLines / 2}, {"start", 0}};
    for (const auto &e : edits) {
        QTextCursor cursor(edit.document()->findBlockByNumber(e.block));
        cursor.insertText(QStringLiteral("x"));
        const qsizetype before = ruler.scannedLineCount();
        timer.restart();
        ruler.lineIndices();
        std::printf("rebuild after typing at the %s: %.3f ms, %lld line starts stored\n", e.where,
                    timer.nsecsElapsed() / 1e6, static_cast<long long>(ruler.scannedLineCount() - before));
    }
    return 0;
}
