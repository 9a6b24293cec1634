#pragma once
#include <QComboBox>

// The year box: an editable list whose accessible name is given to the box
// and to its text field. Qt's own description of an editable list on Linux
// gives the text typed as the box's name, so a screen reader would read only
// "2027, liste déroulante"; this box gives its name, the text being its value.
class BoiteAnnee : public QComboBox {
    Q_OBJECT
public:
    BoiteAnnee(const QString& nomAccessible, QWidget* parent = nullptr);
};
