#pragma once
// The settings files last saved or loaded, newest first, kept in the
// per-user settings store (section "RecentFiles", keys "File1" to "File5"),
// and the File menu's "Recent Files" submenu that offers them.

#include <QObject>
#include <QString>
#include <QStringList>

class QMenu;

namespace app {

class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxFiles = 5;

    // Fills `menu` from the store each time it is about to show.
    explicit RecentFiles(QMenu *menu, QObject *parent = nullptr);

    // Newest first, as the store holds them.
    static QStringList files();
    // `path` to the front (once).
    static void add(const QString &path);
    static void remove(const QString &path);

    // Fills the menu now.
    void refreshMenu();

signals:
    void chosen(const QString &path);

private:
    static void store(const QStringList &paths);

    QMenu *menu_;
};

}  // namespace app
