// The yardstick of the start-up benchmark: a Qt program showing an empty
// window of the main window's size (917 x 869), nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget fenetre;
    fenetre.setWindowTitle(QStringLiteral("Fenêtre vide"));
    fenetre.resize(917, 869);
    fenetre.show();
    return app.exec();
}
