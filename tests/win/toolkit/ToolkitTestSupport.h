#pragma once
// An application object with its window for each test, and a form to put controls on.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "toolkit/Application_win.h"
#include "toolkit/Form_win.h"

class TTestForm : public TForm {
public:
    explicit TTestForm(TComponent* owner) : TForm(owner) {}
    const char* ClassName() const override { return "TToolkitTestForm"; }
};

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        app_->Initialize();
        app_->SetTitle("Quorlin图片处理Tervane");
        app_->OnException = [this](TObject*, const std::string& message) { errors_.push_back(message); };
        form_ = app_->CreateForm<TTestForm>();
        form_->SetBorderStyle(bsToolWindow);
        form_->SetBorderIcons(biSystemMenu);
        form_->SetClientSize(300, 200);
    }
    void TearDown() override { app_.reset(); }

    // Handles what is waiting in the queue (sent and posted messages), a few rounds.
    void Pump() {
        for (int i = 0; i < 5; ++i) app_->ProcessMessages();
    }

    static std::string WindowClassOf(HWND window) {
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        return name;
    }

    std::unique_ptr<TApplication> app_;
    TTestForm* form_ = nullptr;
    std::vector<std::string> errors_;
};
