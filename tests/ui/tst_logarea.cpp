// The log window: time stamps, colours, the line limit, where new lines go,
// and the file output.
#include "LogArea.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QStringList shownLines(const LogArea &a)
{
    QStringList lines = a.ui.LogDisp->toPlainText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList fileLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The message part of a shown line, after "yy/MM/dd hh:mm:ss.zzz: ".
QString messageOf(const QString &line)
{
    return line.mid(23);
}

const QRegularExpression
    kStamp(QStringLiteral("^\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d: "));

} // namespace

class TestLogArea : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void stampedLine_data();
    void stampedLine();
    void defaultFileName();
    void initialState();
    void logShowsStampedLineInColour();
    void lineLimitKeepsLatest();
    void keepAtEndLeavesCursorAtEnd();
    void withoutKeepAtEndInsertsAtCursor();
    void fileGetsEveryLine();
    void clearedFileNameStopsFileOutput();
    void unopenableFileStillShowsLine();
    void fileNameChangeTakesEffectNextLine();
    void vlogFollowsVerbose();

private:
    QTemporaryDir *m_dir = nullptr;
    QString m_oldCwd;
};

void TestLogArea::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_oldCwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestLogArea::cleanup()
{
    QDir::setCurrent(m_oldCwd);
    delete m_dir;
    m_dir = nullptr;
}

void TestLogArea::stampedLine_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("msg");
    QTest::addColumn<QString>("expected");
    QTest::newRow("morning") << QDateTime(QDate(2026, 12, 5), QTime(6, 7, 8, 9)) << "msg"
                             << "26/12/05 06:07:08.009: msg";
    QTest::newRow("evening-24h") << QDateTime(QDate(2031, 1, 30), QTime(23, 59, 59, 999)) << "x y"
                                 << "31/01/30 23:59:59.999: x y";
    QTest::newRow("century") << QDateTime(QDate(2000, 2, 29), QTime(0, 0, 0, 0)) << ""
                             << "00/02/29 00:00:00.000: ";
    QTest::newRow("ms-padding") << QDateTime(QDate(2026, 7, 4), QTime(12, 0, 1, 50)) << "a"
                                << "26/07/04 12:00:01.050: a";
}

void TestLogArea::stampedLine()
{
    QFETCH(QDateTime, when);
    QFETCH(QString, msg);
    QFETCH(QString, expected);
    QCOMPARE(LogArea::stampedLine(when, msg), expected);
}

void TestLogArea::defaultFileName()
{
    QCOMPARE(LogArea::defaultLogFileName(QDateTime(QDate(2026, 12, 5), QTime(6, 7, 8, 9))),
             QStringLiteral("log-261205-060708.dat"));
}

void TestLogArea::initialState()
{
    LogArea a;
    QCOMPARE(a.objectName(), QStringLiteral("LogArea"));
    QCOMPARE(a.windowTitle(), QStringLiteral("Log Area"));
    QVERIFY(!a.ui.IsWriteTo->isChecked());
    QVERIFY(a.ui.KeepAtEnd->isChecked());
    QVERIFY(!a.ui.Verbose->isChecked());
    QVERIFY(a.ui.LogDisp->toPlainText().isEmpty());
    QCOMPARE(a.maxLines(), 2000);
    // The default file lies in the working directory and is not created yet.
    const QFileInfo fi(a.ui.LogFileName->text());
    QVERIFY(fi.isAbsolute());
    QCOMPARE(fi.absolutePath(), QDir(m_dir->path()).canonicalPath());
    QVERIFY(QRegularExpression(QStringLiteral("^log-\\d{6}-\\d{6}\\.dat$"))
                .match(fi.fileName())
                .hasMatch());
    QVERIFY(!fi.exists());
}

void TestLogArea::logShowsStampedLineInColour()
{
    LogArea a;
    QSignalSpy spy(&a, &LogArea::logged);
    a.log(QStringLiteral("red line"), QColor(255, 0, 0));
    a.log(QStringLiteral("black line"));
    const QStringList lines = shownLines(a);
    QCOMPARE(lines.size(), 2);
    QVERIFY(kStamp.match(lines[0]).hasMatch());
    QCOMPARE(messageOf(lines[0]), QStringLiteral("red line"));
    QCOMPARE(messageOf(lines[1]), QStringLiteral("black line"));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toString(), lines[0]);

    QTextDocument *doc = a.ui.LogDisp->document();
    QTextCursor c(doc->findBlockByNumber(0));
    c.movePosition(QTextCursor::Right);
    QCOMPARE(c.charFormat().foreground().color(), QColor(255, 0, 0));
    QTextCursor c2(doc->findBlockByNumber(1));
    c2.movePosition(QTextCursor::Right);
    QCOMPARE(c2.charFormat().foreground().color(), QColor(Qt::black));
}

void TestLogArea::lineLimitKeepsLatest()
{
    LogArea a(nullptr, 5);
    a.ui.IsWriteTo->setChecked(true);
    for (int i = 0; i < 8; ++i)
        a.log(QStringLiteral("line %1").arg(i));
    const QStringList lines = shownLines(a);
    QCOMPARE(lines.size(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(messageOf(lines[i]), QStringLiteral("line %1").arg(i + 3));
    // The file keeps everything.
    const QStringList inFile = fileLines(a.ui.LogFileName->text());
    QCOMPARE(inFile.size(), 8);
    QCOMPARE(messageOf(inFile.first()), QStringLiteral("line 0"));
}

void TestLogArea::keepAtEndLeavesCursorAtEnd()
{
    LogArea a;
    for (int i = 0; i < 4; ++i) {
        a.log(QStringLiteral("n%1").arg(i));
        const QTextCursor c = a.ui.LogDisp->textCursor();
        QVERIFY(c.atEnd());
    }
    QCOMPARE(messageOf(shownLines(a).last()), QStringLiteral("n3"));
}

void TestLogArea::withoutKeepAtEndInsertsAtCursor()
{
    LogArea a;
    a.log(QStringLiteral("first"));
    a.log(QStringLiteral("second"));
    a.ui.KeepAtEnd->setChecked(false);
    // The operator clicks at the start of the second line.
    QTextCursor c(a.ui.LogDisp->document()->findBlockByNumber(1));
    a.ui.LogDisp->setTextCursor(c);
    a.log(QStringLiteral("third"));
    const QStringList lines = shownLines(a);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(messageOf(lines[0]), QStringLiteral("first"));
    QCOMPARE(messageOf(lines[1]), QStringLiteral("third"));
    QCOMPARE(messageOf(lines[2]), QStringLiteral("second"));
    QVERIFY(!a.ui.LogDisp->textCursor().atEnd());
}

void TestLogArea::fileGetsEveryLine()
{
    LogArea a;
    a.log(QStringLiteral("not in file"));
    QVERIFY(!QFile::exists(a.ui.LogFileName->text()));
    a.ui.IsWriteTo->setChecked(true);
    a.log(QStringLiteral("one"), Qt::red);
    a.log(QStringLiteral("two"));
    const QStringList inFile = fileLines(a.ui.LogFileName->text());
    const QStringList shown = shownLines(a);
    QCOMPARE(inFile.size(), 2);
    QCOMPARE(inFile[0], shown[1]);
    QCOMPARE(inFile[1], shown[2]);
}

void TestLogArea::clearedFileNameStopsFileOutput()
{
    LogArea a;
    a.ui.IsWriteTo->setChecked(true);
    const QString file = a.ui.LogFileName->text();
    a.log(QStringLiteral("one"));
    a.ui.LogFileName->clear();
    a.log(QStringLiteral("two"));
    QCOMPARE(fileLines(file).size(), 1);
    QCOMPARE(shownLines(a).size(), 2);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 1);
}

void TestLogArea::unopenableFileStillShowsLine()
{
    LogArea a;
    a.ui.IsWriteTo->setChecked(true);
    a.ui.LogFileName->setText(m_dir->filePath(QStringLiteral("no/such/dir/log.dat")));
    a.log(QStringLiteral("still shown"));
    QCOMPARE(messageOf(shownLines(a).value(0)), QStringLiteral("still shown"));
    QVERIFY(!QFile::exists(a.ui.LogFileName->text()));
}

void TestLogArea::fileNameChangeTakesEffectNextLine()
{
    LogArea a;
    a.ui.IsWriteTo->setChecked(true);
    const QString first = m_dir->filePath(QStringLiteral("a.log"));
    const QString second = m_dir->filePath(QStringLiteral("b.log"));
    a.ui.LogFileName->setText(first);
    a.log(QStringLiteral("to a"));
    a.ui.LogFileName->setText(second);
    a.log(QStringLiteral("to b"));
    QCOMPARE(fileLines(first).size(), 1);
    QCOMPARE(messageOf(fileLines(first)[0]), QStringLiteral("to a"));
    QCOMPARE(fileLines(second).size(), 1);
    QCOMPARE(messageOf(fileLines(second)[0]), QStringLiteral("to b"));
}

void TestLogArea::vlogFollowsVerbose()
{
    LogArea a;
    a.ui.IsWriteTo->setChecked(true);
    QSignalSpy spy(&a, &LogArea::logged);
    a.vlog(QStringLiteral("quiet"));
    a.vlog(QStringLiteral("quiet red"), Qt::red);
    QVERIFY(a.ui.LogDisp->toPlainText().isEmpty());
    QVERIFY(!QFile::exists(a.ui.LogFileName->text()));
    QCOMPARE(spy.count(), 0);
    a.ui.Verbose->setChecked(true);
    a.vlog(QStringLiteral("loud"));
    QCOMPARE(messageOf(shownLines(a).value(0)), QStringLiteral("loud"));
    QCOMPARE(fileLines(a.ui.LogFileName->text()).size(), 1);
    QCOMPARE(spy.count(), 1);
}

QTEST_MAIN(TestLogArea)
#include "tst_logarea.moc"
