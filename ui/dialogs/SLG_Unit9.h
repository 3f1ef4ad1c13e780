// TForm9: the reinforcement-standby allocation window ("援軍待機"), which stays on top.
#pragma once

#include "ui/dialogs/AllocationForm.h"
#include "core/turn/CommandTexts.h"

namespace milgant {

class TForm9 : public TAllocationForm {
 public:
  explicit TForm9(QWidget* mainWindow)
      : TAllocationForm(mainWindow, AllocationText(texts::kStandbyMaximumCaption),
                        AllocationText(texts::kStandbyValueCaption), 144, true) {}
};

}  // namespace milgant
