#pragma once
// "Страница для игроков": switches the players' page on or off, sets its port and shows the
// addresses at which the phones reach it.
#include <QDialog>

#include "publish/page_settings.h"

class QCheckBox;
class QLabel;
class QSpinBox;

namespace quelna {

class PlayerPageDialog : public QDialog {
    Q_OBJECT
  public:
    PlayerPageDialog(const PlayerPageSettings& current, bool running, QWidget* parent = nullptr);

    PlayerPageSettings wanted() const;
    QCheckBox* enabledCheck() const { return enabled_; }
    QSpinBox* portBox() const { return port_; }
    QLabel* addressLabel() const { return addresses_; }

  private:
    void showAddresses();

    QCheckBox* enabled_ = nullptr;
    QSpinBox* port_ = nullptr;
    QLabel* addresses_ = nullptr;
};

} // namespace quelna
