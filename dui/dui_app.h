// What the entry point needs of the direct-UI layer:
//   DuiLib::CPaintManagerUI::SetInstance(instance)
//   DuiLib::CWndShadow::Initialize(instance)
//   DuiLib::CPaintManagerUI::SetResourceZip(bytes, size)
//   window.Create(nullptr, "QXInstall", style, exStyle, CW_USEDEFAULT x4)
//   window.CenterWindow(); window.ShowModal();
//   DuiLib::CPaintManagerUI::TranslateMessage(&msg) inside ShowModal.
#pragma once
#include "dui/dui.h"
