// The help file built beside the program: its contents, its index and a
// full-text search, read with Qt's help engine; "Help Topic" opens it, and
// without a sound help file says so in the status line (no window, no box).

#include "app_test_support.h"

#include "app/help_window.h"

#include <QApplication>
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QTabWidget>
#include <QtTest>

namespace {

// Tests run side by side: each works on its own copy of the help file,
// whose search index is written beside it.
bool copyHelpTo(const QTemporaryDir &dir, bool withDocumentation = true)
{
    // Beside the test programs, as beside the program, wherever the build is.
    const QString bin = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    bool ok = QFile::copy(bin + "SNMPHelp.qhc", dir.filePath("SNMPHelp.qhc"));
    if (withDocumentation)
        ok = ok && QFile::copy(bin + "SNMPHelp.qch", dir.filePath("SNMPHelp.qch"));
    return ok;
}

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void helpTopicOpensOneWindow()
    {
        // By default, the help file beside the program.
        QCOMPARE(app::helpCollectionFile(), QCoreApplication::applicationDirPath() + QStringLiteral("/SNMPHelp.qhc"));
        QTemporaryDir dir;
        QVERIFY(copyHelpTo(dir));
        testing::ScratchSettings settings;
        frmMain window(testing::loopbackOptions(testing::freeUdpPort()));
        window.MDIForm_Load();
        window.setHelpCollectionFile(dir.filePath("SNMPHelp.qhc"));
        window.mnuHelpTopic->trigger();
        app::HelpWindow *help = window.helpWindow();
        QVERIFY(help && help->isVisible());
        // Indexing starts once events run again: watched from here on.
        QHelpEngine &engine = help->engine();
        QHelpSearchEngine *search = engine.searchEngine();
        QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
        QTRY_COMPARE(help->browser()->source().fileName(), QStringLiteral("index.html"));
        QCOMPARE(help->browser()->documentTitle(), QStringLiteral("TARVO SNMP Manager Help"));
        QCOMPARE(help->navigation()->count(), 3);  // contents, index, search

        QHelpContentModel *contents = engine.contentModel();
        if (contents->isCreatingContents() || contents->rowCount() == 0) {
            QSignalSpy created(contents, &QHelpContentModel::contentsCreated);
            contents->createContents(QString());
            QVERIFY(created.count() > 0 || created.wait(10000));
        }
        QCOMPARE(contents->rowCount(), 1);
        QHelpContentItem *top = contents->contentItemAt(contents->index(0, 0));
        QCOMPARE(top->title(), QStringLiteral("TARVO SNMP Manager Help"));
        // Every page of the contents, and of its chapters, is in the file.
        QVERIFY(top->childCount() > 0);
        for (QHelpContentItem *parent : {top, top->child(2)}) {
            for (int i = 0; i < parent->childCount(); ++i)
                QVERIFY2(!engine.fileData(parent->child(i)->url()).isEmpty(), qPrintable(parent->child(i)->title()));
        }
        QCOMPARE(engine.documentsForKeyword(QStringLiteral("privileges")).value(0).url.fileName(),
                 QStringLiteral("troubleshooting.html"));

        // The window indexes the file by itself; its search page finds pages.
        QVERIFY(indexed.count() > 0 || indexed.wait(20000));
        for (const auto &[words, page] : {std::pair{"privileges", "troubleshooting.html"}, {"CR31", "radio.html"}}) {
            QSignalSpy found(search, &QHelpSearchEngine::searchingFinished);
            search->queryWidget()->setSearchInput(QLatin1String(words));
            emit search->queryWidget()->search();
            QVERIFY(found.wait(10000));
            QStringList pages;
            for (const QHelpSearchResult &result : search->searchResults(0, search->searchResultCount()))
                pages << result.url().fileName();
            QVERIFY2(pages.contains(QLatin1String(page)), qPrintable(pages.join(QLatin1Char(' '))));
        }
        window.mnuHelpTopic->trigger();
        QCOMPARE(window.helpWindow(), help);
        window.close();  // the help goes with the main window
        QTRY_VERIFY(!window.helpWindow());
    }

    void unusableHelpIsReported_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<QString>("status");  // %1: the folder
        QTest::newRow("no help file") << "none" << "help file missing"
                                      << "Help could not be opened: the help file is not beside the program.";
        QTest::newRow("collection without its documentation")
            << "no documentation" << "help documentation missing" << "Help could not be opened: %1/SNMPHelp.qch is missing.";
        QTest::newRow("damaged collection") << "damaged SNMPHelp.qhc" << "cannot be read"
                                            << "Help could not be opened: %1/SNMPHelp.qhc is damaged.";
        QTest::newRow("damaged documentation") << "damaged SNMPHelp.qch" << "help documentation damaged"
                                               << "Help could not be opened: %1/SNMPHelp.qch is damaged.";
    }

    void unusableHelpIsReported()
    {
        QFETCH(QString, fault);
        QFETCH(QString, logged);
        QFETCH(QString, status);
        QTemporaryDir dir;
        if (fault != "none")
            QVERIFY(copyHelpTo(dir, fault != "no documentation"));
        if (fault.startsWith("damaged")) {
            QFile file(dir.filePath(fault.section(' ', 1)));
            QVERIFY(file.open(QIODevice::ReadWrite));
            const qint64 size = file.size();
            QVERIFY(file.resize(0) && file.write(QByteArray(int(size), 'x')) == size);
        }
        testing::ScratchSettings settings;
        frmMain window(testing::loopbackOptions(testing::freeUdpPort()));
        window.MDIForm_Load();
        window.show();
        window.setHelpCollectionFile(dir.filePath("SNMPHelp.qhc"));
        const int windowsBefore = QApplication::topLevelWidgets().size();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(logged));
        window.mnuHelpTopic->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!window.helpWindow());
        QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(window.statusText(), status.replace("%1", dir.path()));
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
