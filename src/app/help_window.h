#pragma once
// The program's help: contents, index and full-text search of the
// compressed help file, and a page viewer. One window
// for the program's life; asking again brings it to the front.

#include <QString>
#include <QTextBrowser>
#include <QWidget>

class QHelpEngine;
class QTabWidget;

namespace app {

// The help collection, looked for where the program keeps its data (beside
// it first, then the installed data folder). Unless it lies in the writable
// folder of a program that is not installed (a build tree), the collection
// and its documentation are copied to the user's cache first: the search
// index is kept beside the collection. Empty when there is no help file.
QString helpCollectionFile();

// A text browser that reads qthelp:// pages out of the help file.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(QHelpEngine &engine, QWidget *parent = nullptr);
    QVariant loadResource(int type, const QUrl &name) override;

private:
    QHelpEngine &engine_;
};

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // nullptr when the collection cannot be opened (missing, damaged, its
    // documentation missing or damaged); `why` then says so in a sentence
    // for the status line, and the log has the details.
    static HelpWindow *open(const QString &collectionFile, QWidget *parent = nullptr, QString *why = nullptr);
    ~HelpWindow() override;

    QHelpEngine &engine() { return *engine_; }
    HelpBrowser *browser() const { return browser_; }
    QTabWidget *navigation() const { return navigation_; }
    // The first page of the contents.
    QUrl homePage() const;

private slots:
    void showPage(const QUrl &url);

private:
    explicit HelpWindow(QHelpEngine *engine, QWidget *parent);
    QWidget *buildIndexPage();
    QWidget *buildSearchPage();

    QHelpEngine *engine_;
    HelpBrowser *browser_ = nullptr;
    QTabWidget *navigation_ = nullptr;
};

}  // namespace app
