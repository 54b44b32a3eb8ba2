#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// The main window: the eleven topics with their grade icons, one of them checked, and the
// buttons that learn or quiz the checked topic. Creating it is the program's start-up:
// it reads USER.QXV (showing the About dialog on a first start) and the topic titles.
// USER.QXV is saved as soon as a quiz's result grades a topic, and when the window closes.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(QWidget* eltern = nullptr);

    void ZeigeListView();

    // The one way the grades are saved: after a result, at the end, and when the desktop
    // session asks. A failure is said once, until a save works again.
    void speichere();

    std::array<QPushButton*, 2> Button{};
    QPushButton* cmd_Ende;
    QPushButton* cmd_Info;
    QListWidget* LView;
    QLabel* bez_Titel2;
    QLabel* bez_Benutzer;
    QLabel* bez_Titel;

    // Text of a topic's list entry, also for files that are missing or empty.
    static QString eintragstext(int thema);
    static QString notentext(int note);

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    void showEvent(QShowEvent* ereignis) override;

private:
    void erzeugeSteuerelemente();
    void verbindeEreignisse();
    void laden();
    void zentriere();

    void LView_ItemCheck(QListWidgetItem* eintrag);
    void Button_Click(int index);
    void cmd_Ende_Click();
    void cmd_Info_Click();

    int angehakt() const;
    void hakeAn(int thema);
    void oeffneLernen();
    // Whether the quiz ran to its result.
    bool oeffneAbfrage();
    void zeigeTippZumMenue();

    bool m_setztSelbst = false;
    bool m_entladen = false;
    bool m_gezeigt = false;
};
