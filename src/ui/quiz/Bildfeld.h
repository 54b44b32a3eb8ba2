#pragma once

#include <QIcon>
#include <QWidget>

// An answer box of the quiz window: a picture at its natural size that reports clicks and
// carries a tag, the number the answer beside it has in the topic file. Unlike a label, it
// keeps its picture's colours while disabled.
class Bildfeld : public QWidget {
    Q_OBJECT
public:
    explicit Bildfeld(QWidget* eltern = nullptr);

    void setzeBild(int nummer);
    int bild() const { return m_nummer; }

    QString Tag;

signals:
    void geklickt();

protected:
    void paintEvent(QPaintEvent* ereignis) override;
    void mousePressEvent(QMouseEvent* ereignis) override;

private:
    QIcon m_bild;
    int m_nummer = 0;
};
