#include "recent_files.h"

#include "settings/app_settings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace app {

namespace {
const QString kSection = QStringLiteral("RecentFiles");
QString keyOf(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}
}  // namespace

RecentFiles::RecentFiles(QMenu *menu, QObject *parent) : QObject(parent), menu_(menu)
{
    connect(menu_, &QMenu::aboutToShow, this, &RecentFiles::refreshMenu);
    refreshMenu();
}

QStringList RecentFiles::files()
{
    QStringList paths;
    for (int i = 0; i < kMaxFiles; ++i) {
        const QString path = settings::readSetting(kSection, keyOf(i), QString());
        if (!path.isEmpty() && !paths.contains(path))
            paths << path;
    }
    return paths;
}

void RecentFiles::store(const QStringList &paths)
{
    for (int i = 0; i < kMaxFiles; ++i)
        settings::writeSetting(kSection, keyOf(i), paths.value(i));
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = files();
    paths.removeAll(absolute);
    paths.prepend(absolute);
    store(paths.mid(0, kMaxFiles));
}

void RecentFiles::remove(const QString &path)
{
    QStringList paths = files();
    paths.removeAll(QFileInfo(path).absoluteFilePath());
    store(paths);
}

void RecentFiles::refreshMenu()
{
    menu_->clear();
    const QStringList paths = files();
    for (int i = 0; i < paths.size(); ++i) {
        // "&1 lab.json": a digit as access key; the whole path in the tip.
        QString name = QFileInfo(paths[i]).fileName();
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction *action = menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        action->setObjectName(QStringLiteral("mnuRecentFile%1").arg(i + 1));
        action->setToolTip(QDir::toNativeSeparators(paths[i]));
        action->setStatusTip(action->toolTip());
        const QString path = paths[i];
        connect(action, &QAction::triggered, this, [this, path] { emit chosen(path); });
    }
    if (paths.isEmpty()) {
        QAction *none = menu_->addAction(QStringLiteral("(none)"));
        none->setObjectName(QStringLiteral("mnuRecentFileNone"));
        none->setEnabled(false);
    }
    menu_->setToolTipsVisible(true);
}

}  // namespace app
