#pragma once

#include <QObject>

class QListWidget;
class QMenu;
class QPoint;

// The topic list's context menu: the practice that works from the learner's answer history.
// A right click on a topic opens it for that topic; the Menu key or Shift+F10 on the list for
// the current one. It never changes a check. Entries for a topic are off where there is none.
class Themenmenue : public QObject {
    Q_OBJECT
public:
    static void anhaengen(QListWidget* liste);

    // The menu for topic `thema` (0: none); its actions carry what they do.
    static QMenu* baue(QWidget* eltern, int thema);
    // What the menu offers, in words for the list's tooltip.
    static QString angebot();
    static void fuehreAus(QWidget* eltern, const QString& aktion, int thema);

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    explicit Themenmenue(QListWidget* liste);
    void zeige(int thema, const QPoint& wo);

    QListWidget* m_liste;
};
