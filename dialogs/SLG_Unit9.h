// TForm9: the reinforcement-standby allocation window ("援軍待機").
#pragma once

#include "dialogs/AllocationForm.h"

namespace milgant {

class TForm9 : public TAllocationForm {
 public:
  explicit TForm9(QWidget* mainWindow)
      : TAllocationForm(mainWindow, QStringLiteral("最大援軍待機へクス"), QStringLiteral("援軍待機へクス"), 144, true) {}
};

}  // namespace milgant
