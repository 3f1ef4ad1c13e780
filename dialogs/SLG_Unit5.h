// TForm5: the replenishment allocation window ("補充").
#pragma once

#include "dialogs/AllocationForm.h"

namespace milgant {

class TForm5 : public TAllocationForm {
 public:
  explicit TForm5(QWidget* mainWindow)
      : TAllocationForm(mainWindow, QStringLiteral("全補充ポイント"), QStringLiteral("部隊補充"), 112, false) {}
};

}  // namespace milgant
