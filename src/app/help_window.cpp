#include "help_window.h"
#include "widgets/accessibility.h"

#include "app_logging.h"
#include "config/data_locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace app {

namespace {

const QString kCollectionName = QStringLiteral("SNMPHelp.qhc");
const QString kDocumentationName = QStringLiteral("SNMPHelp.qch");

// Leaves `to` a writable copy of `from`, copying only when they differ.
bool refreshCopy(const QString &from, const QString &to)
{
    QFile source(from);
    QFile copy(to);
    if (source.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly) && source.readAll() == copy.readAll())
        return true;
    copy.close();
    QFile::remove(to);
    return QFile::copy(from, to) && QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner);
}

}  // namespace

QString helpCollectionFile()
{
    const QString collection = config::findDataFile(kCollectionName);
    if (collection.isEmpty()) {
        qCWarning(lcApp) << "no help file" << kCollectionName << "in" << config::dataFolders();
        return QString();
    }
    const QDir folder = QFileInfo(collection).dir();
    const QString documentation = folder.filePath(kDocumentationName);
    if (!QFileInfo::exists(documentation)) {
        qCWarning(lcApp) << "the help file has no documentation beside it:" << documentation;
        return QString();
    }
    // The help engine writes its search index beside the collection: only
    // a build tree's or a portable copy's own folder may take it, never an
    // installed one (not even when root runs the program).
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (folder == QDir(programFolder) && QFileInfo(programFolder).isWritable() && !config::runsInstalled(programFolder))
        return collection;
    const QDir cache(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help"));
    if (!cache.mkpath(QStringLiteral(".")) || !refreshCopy(collection, cache.filePath(kCollectionName)) ||
        !refreshCopy(documentation, cache.filePath(kDocumentationName))) {
        qCWarning(lcApp) << "the help file could not be copied to" << cache.path();
        return QString();
    }
    return cache.filePath(kCollectionName);
}

// Qt's search page leaves its box and its arrow buttons nameless to a
// screen reader: the box gets its purpose, a button its tooltip, the
// result pages' four arrows their direction.
static void nameQtHelpControls(QWidget *query, QWidget *results)
{
    for (QLineEdit *box : query->findChildren<QLineEdit *>()) {
        if (box->accessibleName().isEmpty())
            box->setAccessibleName(QStringLiteral("Search for"));
    }
    for (QToolButton *button : query->findChildren<QToolButton *>()) {
        if (button->accessibleName().isEmpty() && button->text().isEmpty() && !button->toolTip().isEmpty())
            button->setAccessibleName(button->toolTip());
    }
    QList<QToolButton *> unnamed;
    for (QToolButton *button : results->findChildren<QToolButton *>()) {
        if (button->accessibleName().isEmpty() && button->text().isEmpty() && button->toolTip().isEmpty())
            unnamed << button;
    }
    const QStringList pages{"First results page", "Previous results page", "Next results page", "Last results page"};
    if (unnamed.size() == pages.size()) {
        for (int i = 0; i < pages.size(); ++i)
            unnamed[i]->setAccessibleName(pages[i]);
    }
}

// --- the page viewer ------------------------------------------------------------

HelpBrowser::HelpBrowser(QHelpEngine &engine, QWidget *parent) : QTextBrowser(parent), engine_(engine)
{
    setObjectName(QStringLiteral("helpBrowser"));
    setOpenExternalLinks(true);
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    if (name.scheme() == QLatin1String("qthelp"))
        return engine_.fileData(name);
    return QTextBrowser::loadResource(type, name);
}

// --- the window ---------------------------------------------------------------------

HelpWindow *HelpWindow::open(const QString &collectionFile, QWidget *parent, QString *why)
{
    const auto refuse = [&](const QString &reason) -> HelpWindow * {
        if (why)
            *why = QStringLiteral("Help could not be opened: %1").arg(reason);
        return nullptr;
    };
    if (collectionFile.isEmpty() || !QFileInfo::exists(collectionFile)) {
        qCWarning(lcApp) << "help file missing:" << collectionFile;
        return refuse(QStringLiteral("the help file is not beside the program."));
    }
    auto engine = std::make_unique<QHelpEngine>(collectionFile);
    if (!engine->setupData() || engine->registeredDocumentations().isEmpty()) {
        qCWarning(lcApp) << "help file" << collectionFile << "cannot be read:" << engine->error();
        return refuse(QStringLiteral("%1 is damaged.").arg(QDir::toNativeSeparators(collectionFile)));
    }
    for (const QString &ns : engine->registeredDocumentations()) {
        const QString documentation = engine->documentationFileName(ns);
        if (!QFileInfo::exists(documentation)) {
            qCWarning(lcApp) << "help documentation missing:" << documentation;
            return refuse(QStringLiteral("%1 is missing.").arg(QDir::toNativeSeparators(documentation)));
        }
        // A damaged file still registers, and would show an empty window.
        if (QHelpEngineCore::namespaceName(documentation) != ns) {
            qCWarning(lcApp) << "help documentation damaged:" << documentation;
            return refuse(QStringLiteral("%1 is damaged.").arg(QDir::toNativeSeparators(documentation)));
        }
    }
    return new HelpWindow(engine.release(), parent);
}

HelpWindow::HelpWindow(QHelpEngine *engine, QWidget *parent) : QWidget(parent, Qt::Window), engine_(engine)
{
    widgets::makeAccessible(this);
    engine_->setParent(this);
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("TARVO SNMP Manager Help"));
    setAttribute(Qt::WA_DeleteOnClose);

    browser_ = new HelpBrowser(*engine_, this);
    navigation_ = new QTabWidget(this);
    navigation_->setObjectName(QStringLiteral("helpNavigation"));
    QHelpContentWidget *contents = engine_->contentWidget();
    contents->setObjectName(QStringLiteral("helpContents"));
    navigation_->addTab(contents, QStringLiteral("&Contents"));
    navigation_->addTab(buildIndexPage(), QStringLiteral("&Index"));
    navigation_->addTab(buildSearchPage(), QStringLiteral("&Search"));
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::showPage);
    // A single click opens the page too, not only Enter or a double click.
    connect(contents, &QHelpContentWidget::clicked, this, [this](const QModelIndex &index) {
        if (QHelpContentItem *item = engine_->contentModel()->contentItemAt(index))
            showPage(item->url());
    });
    // The first page once the contents are known.
    connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, this, [this] {
        engine_->contentWidget()->expandToDepth(0);
        if (browser_->source().isEmpty())
            showPage(homePage());
    });

    auto *splitter = new QSplitter(this);
    splitter->addWidget(navigation_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({250, 470});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(740, 500);

    if (!engine_->contentModel()->isCreatingContents() && engine_->contentModel()->rowCount() > 0)
        showPage(homePage());
    // The full-text index is built beside the collection the first time
    // (and again when the help file changed); searching waits for it.
    engine_->searchEngine()->scheduleIndexDocumentation();
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::showPage(const QUrl &url)
{
    browser_->setSource(url);
}

QUrl HelpWindow::homePage() const
{
    QHelpContentModel *model = engine_->contentModel();
    QHelpContentItem *first = model->rowCount() > 0 ? model->contentItemAt(model->index(0, 0)) : nullptr;
    return first ? first->url() : QUrl();
}

QWidget *HelpWindow::buildIndexPage()
{
    auto *page = new QWidget(this);
    auto *lookFor = new QLineEdit(page);
    lookFor->setObjectName(QStringLiteral("helpIndexFilter"));
    lookFor->setClearButtonEnabled(true);
    auto *label = new QLabel(QStringLiteral("&Look for:"), page);
    label->setBuddy(lookFor);
    QHelpIndexWidget *index = engine_->indexWidget();
    index->setObjectName(QStringLiteral("helpIndex"));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(label);
    layout->addWidget(lookFor);
    layout->addWidget(index);
    connect(lookFor, &QLineEdit::textChanged, index, [index](const QString &text) { index->filterIndices(text); });
    connect(lookFor, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink &document, const QString &) { showPage(document.url); });
    // A keyword on several pages: the first one; the others are a search away.
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink> &documents, const QString &) {
                if (!documents.isEmpty())
                    showPage(documents.constFirst().url);
            });
    return page;
}

QWidget *HelpWindow::buildSearchPage()
{
    QHelpSearchEngine *search = engine_->searchEngine();
    auto *page = new QWidget(this);
    QHelpSearchQueryWidget *query = search->queryWidget();
    QHelpSearchResultWidget *results = search->resultWidget();
    query->setObjectName(QStringLiteral("helpSearchQuery"));
    results->setObjectName(QStringLiteral("helpSearchResults"));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(query);
    layout->addWidget(results, 1);
    connect(query, &QHelpSearchQueryWidget::search, search, [search, query] { search->search(query->searchInput()); });
    nameQtHelpControls(query, results);
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &HelpWindow::showPage);
    return page;
}

}  // namespace app
