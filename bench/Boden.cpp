// The floor of the toolkit: the least a Qt Widgets program does before its first paint, one
// dialog with two controls, built by the same build as the trainer.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QDialog dialog;
    auto* spalte = new QVBoxLayout(&dialog);
    spalte->addWidget(new QLabel(QStringLiteral("Boden"), &dialog));
    spalte->addWidget(new QPushButton(QStringLiteral("OK"), &dialog));
    dialog.show();
    return app.exec();
}
