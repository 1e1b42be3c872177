#include "widgets/accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QAbstractItemView>

namespace widgets {

namespace {

// --- access keys ---------------------------------------------------------------

// The letter after a single '&', or a null QChar.
QChar accessKeyOf(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toLower();
        ++i;  // "&&" is an ampersand
    }
    return QChar();
}

// Where the mark goes: a word's first free letter, else any free one; -1.
qsizetype keyPosition(const QString &caption, const QSet<QChar> &used)
{
    for (int pass = 0; pass < 2; ++pass) {
        for (qsizetype i = 0; i < caption.size(); ++i) {
            const QChar c = caption[i];
            const bool wordStart = i == 0 || !caption[i - 1].isLetterOrNumber();
            if (c.isLetterOrNumber() && c.unicode() < 0x80 && (pass == 1 || wordStart) && !used.contains(c.toLower()))
                return i;
        }
    }
    return -1;
}

// Labels of inputs a user may change, and buttons other than OK and Cancel.
bool takesAccessKey(QWidget *w, QString &caption)
{
    if (auto *label = qobject_cast<QLabel *>(w)) {
        QWidget *buddy = label->buddy();
        auto *box = qobject_cast<QLineEdit *>(buddy);
        if (!buddy || (box && box->isReadOnly()) || buddy->focusPolicy() == Qt::NoFocus || label->textFormat() == Qt::RichText)
            return false;
        caption = label->text();
    } else if (qobject_cast<QPushButton *>(w) || qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
        caption = static_cast<QAbstractButton *>(w)->text();
        const QString plain = caption.trimmed();
        if (plain == QLatin1String("OK") || plain == QLatin1String("Cancel"))
            return false;
    } else {
        return false;
    }
    return !caption.trimmed().isEmpty() && !caption.contains(QLatin1Char('<'));
}

void setCaption(QWidget *w, const QString &caption)
{
    if (auto *label = qobject_cast<QLabel *>(w))
        label->setText(caption);
    else
        static_cast<QAbstractButton *>(w)->setText(caption);
}

// The tab page `w` is on inside `window`, or nullptr.
QWidget *pageOf(QWidget *w, QWidget *window)
{
    for (QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
        QWidget *stack = p->parentWidget();
        if (qobject_cast<QStackedWidget *>(stack) && qobject_cast<QTabWidget *>(stack->parentWidget()))
            return p;
    }
    return nullptr;
}

class AccessKeysOnShow : public QObject {
public:
    explicit AccessKeysOnShow(QWidget *window) : QObject(window) { window->installEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            assignAccessKeys(static_cast<QWidget *>(watched));
            deleteLater();
        }
        return false;
    }
};

// --- accessible interfaces -----------------------------------------------------

QString withoutAccessKey(QString caption)
{
    caption.replace(QLatin1String("&&"), QString(QChar(0xE000)));
    caption.remove(QLatin1Char('&'));
    caption.replace(QChar(0xE000), QLatin1Char('&'));
    return caption;
}

// The name of a control without a caption of its own: its accessible
// name, else the label that names it.
QString labelledName(QWidget *w)
{
    if (!w->accessibleName().isEmpty())
        return w->accessibleName();
    for (QLabel *label : w->window()->findChildren<QLabel *>()) {
        if (label->buddy() == w)
            return withoutAccessKey(label->text()).trimmed();
    }
    return QString();
}

// Qt's own gives a list its current value as its name (on Unix); a
// screen reader then says "11, combo box" and never "Channel".
class ComboBoxAccessible : public QAccessibleWidget {
public:
    explicit ComboBoxAccessible(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox)
    {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }

    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
        case QAccessible::Name: return labelledName(box());
        case QAccessible::Value: return box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
        default: return QAccessibleWidget::text(kind);
        }
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view() && box()->view()->isVisible();
        s.collapsed = !s.expanded;
        s.editable = box()->isEditable();
        return s;
    }
    int childCount() const override { return box()->isEditable() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->isEditable())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child && child->object() == box()->view())
            return 0;
        if (child && box()->isEditable() && child->object() == box()->lineEdit())
            return 1;
        return -1;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name != showMenuAction() && name != pressAction())
            return;
        if (box()->view() && box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }

private:
    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }
};

// One tab of a tab bar (it has no widget of its own).
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(QTabBar *bar, int index) : bar_(bar), index_(index) {}

    bool isValid() const override { return bar_ && index_ < bar_->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return bar_ ? bar_->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(bar_.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return QString();
        switch (kind) {
        case QAccessible::Name: return withoutAccessKey(bar_->tabText(index_));
        case QAccessible::Description: return bar_->tabToolTip(index_);
        default: return QString();
        }
    }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        const bool current = index_ == bar_->currentIndex();
        s.disabled = !bar_->isEnabled() || !bar_->isTabEnabled(index_);
        s.focusable = !s.disabled;
        s.selectable = !s.disabled;
        s.selected = current;
        s.focused = current && bar_->hasFocus();
        s.invisible = !bar_->isVisible() || !bar_->isTabVisible(index_);
        return s;
    }
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect r = bar_->tabRect(index_);
        return QRect(bar_->mapToGlobal(r.topLeft()), r.size());
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid() && bar_->isTabEnabled(index_))
            bar_->setCurrentIndex(index_);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<QTabBar> bar_;
    int index_;
};

class TabBarAccessible : public QAccessibleWidget {
public:
    explicit TabBarAccessible(QTabBar *bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~TabBarAccessible() override
    {
        for (QAccessible::Id id : std::as_const(tabs_))
            QAccessible::deleteAccessibleInterface(id);
    }
    int childCount() const override { return bar()->count(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= bar()->count())
            return nullptr;
        if (QAccessible::Id id = tabs_.value(index))
            return QAccessible::accessibleInterface(id);
        auto *tab = new TabAccessible(bar(), index);
        tabs_.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (auto it = tabs_.cbegin(); it != tabs_.cend(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key();
        }
        return -1;
    }
    QAccessibleInterface *focusChild() const override { return child(bar()->currentIndex()); }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return withoutAccessKey(bar()->tabText(bar()->currentIndex()));
        return QAccessibleWidget::text(kind);
    }

private:
    QTabBar *bar() const { return static_cast<QTabBar *>(widget()); }
    mutable QHash<int, QAccessible::Id> tabs_;
};

QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("QComboBox"))
        return new ComboBoxAccessible(static_cast<QComboBox *>(widget));
    if (className == QLatin1String("QTabBar"))
        return new TabBarAccessible(static_cast<QTabBar *>(widget));
    // A window of our own made from a plain widget.
    const QMetaObject *type = widget->metaObject();
    if (widget->isWindow() && className == QLatin1String(type->className())
        && type->superClass() == &QWidget::staticMetaObject)
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

}  // namespace

void assignAccessKeys(QWidget *window)
{
    // Scopes: the window outside any tab page (nullptr), and each page.
    QList<QWidget *> order;
    QHash<QWidget *, QList<QPair<QWidget *, QString>>> scopes;
    QHash<QWidget *, QSet<QChar>> used;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        QString caption;
        if (w->isWindow() || !takesAccessKey(w, caption))
            continue;
        QWidget *page = pageOf(w, window);
        if (!scopes.contains(page))
            order << page;
        scopes[page].append({w, caption});
        const QChar key = accessKeyOf(caption);
        if (!key.isNull())
            used[page].insert(key);
    }
    const QSet<QChar> outer = used.value(nullptr);
    if (scopes.contains(nullptr)) {
        order.removeAll(nullptr);
        order.prepend(nullptr);
    }
    QSet<QChar> outerUsed = outer;
    for (QWidget *page : std::as_const(order)) {
        QSet<QChar> taken = page ? used.value(page) + outerUsed : outerUsed;
        for (const auto &[w, caption] : std::as_const(scopes[page])) {
            if (!accessKeyOf(caption).isNull())
                continue;
            const qsizetype at = keyPosition(caption, taken);
            if (at < 0)
                continue;
            taken.insert(caption[at].toLower());
            setCaption(w, QString(caption).insert(at, QLatin1Char('&')));
        }
        if (!page)
            outerUsed = taken;
    }
}

void installAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(&accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
}

void makeAccessible(QWidget *window)
{
    installAccessibleInterfaces();
    new AccessKeysOnShow(window);
}

}  // namespace widgets
