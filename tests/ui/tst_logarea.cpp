// The log window: the line limit, where new lines go, verbose lines, and the
// file output.
#include "LogArea.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>

namespace {

// The message parts of the shown lines, after the time stamp.
QStringList shown(const LogArea &a)
{
    QStringList out;
    for (const QString &l : a.ui.LogDisp->toPlainText().split('\n', Qt::SkipEmptyParts))
        out << l.section(QStringLiteral(": "), 1, -1);
    return out;
}

QStringList inFile(const QString &path)
{
    QStringList out;
    for (const QString &l : TestSupport::readLines(path))
        out << l.section(QStringLiteral(": "), 1, -1);
    return out;
}

} // namespace

class TestLogArea : public QObject
{
    Q_OBJECT

private slots:
    // A directory per test: default log names differ only by the second.
    void init() { dir = std::make_unique<TestSupport::WorkDir>(); }
    void cleanup() { dir.reset(); }

    void lineLimitKeepsLatest()
    {
        LogArea a(nullptr, 5);
        a.ui.IsWriteTo->setChecked(true);
        for (int i = 0; i < 8; ++i)
            a.log(QStringLiteral("line %1").arg(i));
        QCOMPARE(shown(a), (QStringList{"line 3", "line 4", "line 5", "line 6", "line 7"}));
        QVERIFY(a.ui.LogDisp->textCursor().atEnd());
        // The file keeps everything, and lines logged before it was chosen are not in it.
        QCOMPARE(inFile(a.ui.LogFileName->text()).size(), 8);
        QCOMPARE(inFile(a.ui.LogFileName->text()).first(), QStringLiteral("line 0"));
    }

    void withoutKeepAtEndInsertsAtCursor()
    {
        LogArea a;
        a.log(QStringLiteral("first"));
        a.log(QStringLiteral("second"));
        a.ui.KeepAtEnd->setChecked(false);
        // The operator clicks at the start of the second line.
        a.ui.LogDisp->setTextCursor(QTextCursor(a.ui.LogDisp->document()->findBlockByNumber(1)));
        a.log(QStringLiteral("third"));
        QCOMPARE(shown(a), (QStringList{"first", "third", "second"}));
        QVERIFY(!QFile::exists(a.ui.LogFileName->text()));
    }

    // The file named at the time of each line gets it; no name, no file.
    void fileFollowsTheName()
    {
        LogArea a;
        a.ui.IsWriteTo->setChecked(true);
        const QString first = dir->filePath(QStringLiteral("a.log"));
        a.ui.LogFileName->setText(first);
        a.log(QStringLiteral("to a"));
        a.ui.LogFileName->setText(dir->filePath(QStringLiteral("b.log")));
        a.log(QStringLiteral("to b"));
        a.ui.LogFileName->clear();
        a.log(QStringLiteral("nowhere"));
        a.ui.LogFileName->setText(dir->filePath(QStringLiteral("no/such/dir/log.dat")));
        a.log(QStringLiteral("still shown"));
        QCOMPARE(inFile(first), QStringList{"to a"});
        QCOMPARE(inFile(dir->filePath(QStringLiteral("b.log"))), QStringList{"to b"});
        QCOMPARE(shown(a).size(), 4);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files).size(), 2);
    }

    void vlogFollowsVerbose()
    {
        LogArea a;
        a.ui.IsWriteTo->setChecked(true);
        QSignalSpy spy(&a, &LogArea::logged);
        a.vlog(QStringLiteral("quiet"), Qt::red);
        QVERIFY(shown(a).isEmpty());
        QVERIFY(!QFile::exists(a.ui.LogFileName->text()));
        a.ui.Verbose->setChecked(true);
        a.vlog(QStringLiteral("loud"));
        QCOMPARE(shown(a), QStringList{"loud"});
        QCOMPARE(inFile(a.ui.LogFileName->text()), QStringList{"loud"});
        QCOMPARE(spy.count(), 1);
    }

private:
    std::unique_ptr<TestSupport::WorkDir> dir;
};

QTEST_MAIN(TestLogArea)
#include "tst_logarea.moc"
