#pragma once
// The preview window: the conversion page's picture enlarged. Created hidden at start and
// shown modally on demand.
#include "picture/Image_win.h"
#include "toolkit/Form_win.h"

class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* owner);
    const char* ClassName() const override { return "TForm2"; }

    TImage* Image1;

    void FormCreate(TObject* sender);
    void Image1Click(TObject* sender);
};

extern TForm2* Form2;
