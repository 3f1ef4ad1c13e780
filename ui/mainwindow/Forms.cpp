#include "ui/mainwindow/Forms.h"

#include "ui/battlewindow/SLG_Unit4.h"
#include "ui/dialogs/SLG_Unit2.h"
#include "ui/dialogs/SLG_Unit5.h"
#include "ui/dialogs/SLG_Unit6.h"
#include "ui/dialogs/SLG_Unit8.h"
#include "ui/dialogs/SLG_Unit9.h"
#include "ui/mainwindow/SLG_Unit1.h"
#include "ui/mainwindow/WindowUi.h"
#include "ui/text/SLG_Unit7.h"
#include "ui/unitwindow/SLG_Unit3.h"

namespace milgant {

Forms::~Forms() {
  // Windows without a parent go first; the main window takes its dialogs with it.
  if (Form7 != nullptr && Form7->parent() == nullptr) delete Form7;
  if (Form4 != nullptr && Form4->parent() == nullptr) delete Form4;
  delete Form1;
}

std::unique_ptr<Forms> CreateForms(Game& game, const QString& workingFolder, QString* failure) {
  auto forms = std::make_unique<Forms>();
  forms->Form1 = new TForm1(game, *forms, workingFolder);
  if (forms->Form1->Failed()) {
    if (failure != nullptr) *failure = forms->Form1->Failure();
    return nullptr;
  }
  TForm1* main = forms->Form1;
  forms->Form2 = new TForm2(main);
  forms->Form3 = new TForm3(main);
  forms->Form3->LoadBackground(workingFolder);
  forms->Form4 = new TForm4(nullptr);
  forms->Form4->SetSources(&game, &main->Renderer(), &main->Pictures(), main);
  forms->Form4->LoadBackground(workingFolder);
  forms->Form5 = new TForm5(main);
  forms->Form5->LoadBackground(workingFolder);
  forms->Form6 = new TForm6(main);
  forms->Form7 = new TForm7(main);
  forms->Form7->LoadPictures(workingFolder);
  forms->Form8 = new TForm8(main);
  forms->Form9 = new TForm9(main);
  forms->Form9->LoadBackground(workingFolder);
  forms->Ui = std::make_unique<WindowUi>(*forms);
  return forms;
}

}  // namespace milgant
