// TForm5: the replenishment allocation window ("補充").
#pragma once

#include "ui/dialogs/AllocationForm.h"
#include "core/turn/CommandTexts.h"

namespace milgant {

class TForm5 : public TAllocationForm {
 public:
  explicit TForm5(QWidget* mainWindow)
      : TAllocationForm(mainWindow, AllocationText(texts::kReplenishMaximumCaption),
                        AllocationText(texts::kReplenishValueCaption), 112, false) {}
};

}  // namespace milgant
