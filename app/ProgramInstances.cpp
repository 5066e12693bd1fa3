// Creation of the program's instances. Relies on TApplication for ownership and creation failures, on
// datamodule/Unit3 for the data module (which shows its own database failures and goes on), and on each
// window's BindDataModule for its bindings.
#include "ProgramInstances.h"

#include "TApplication.h"
#include "TForm.h"
#include "Unit3.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit4.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit7.h"
#include "Unit8.h"
#include "Unit9.h"
#include "Unit10.h"
#include "Unit11.h"
#include "Unit12.h"
#include "Unit13.h"
#include "Unit14.h"
#include "Unit15.h"

void CreateProgramInstances(TApplication* application) {
    application->CreateForm(Form1);
    application->CreateForm(Form2);
    application->CreateForm(DataModule3);
    application->CreateForm(Form4);
    application->CreateForm(Form5);
    application->CreateForm(Form6);
    application->CreateForm(Form7);
    application->CreateForm(Form8);
    application->CreateForm(Form9);
    application->CreateForm(Form10);
    application->CreateForm(Form11);
    application->CreateForm(Form12);
    application->CreateForm(Form13);
    application->CreateForm(Form14);
    application->CreateForm(Form15);
    // The windows' grids, navigators, labels and charts name the data module's components; the first
    // windows are made before the module, so every window is bound in one step once all exist.
    application->CreationStep([application] {
        for (QObject* instance : application->Instances())
            if (auto* form = qobject_cast<TForm*>(instance))
                form->BindDataModule();
    });
}
