#pragma once
#include <QWidget>

struct mdlVorn;

// The main window.
class Ardemo : public QWidget {
    Q_OBJECT
public:
    explicit Ardemo(mdlVorn& etat, QWidget* parent = nullptr);

private:
    mdlVorn& m_etat;
};
