#include "core/platform/ProgressDlg.h"

#include <cstdio>

namespace ek {

namespace {

std::string LoadCaption(unsigned id) {
    return id == CProgressDlg::kDefaultCaptionId ? "CProgressDlg" : std::string();
}

}  // namespace

CProgressDlg::CProgressDlg(ProgressUi* ui, unsigned captionId)
    : m_ui(ui), m_nCaptionID(captionId == 0 ? kDefaultCaptionId : captionId) {}

CProgressDlg::~CProgressDlg() {
    if (m_window) {
        DestroyWindow();
    }
}

bool CProgressDlg::Create() {
    if (m_ui == nullptr) {
        return false;
    }
    if (m_ui->HasOwner() && m_ui->IsOwnerEnabled()) {
        m_ui->EnableOwner(false);
        m_bOwnerDisabled = 1;
    }
    m_window = m_ui->CreateProgressWindow(*this);
    if (!m_window) {
        ReEnableOwner();
        return false;
    }
    OnInitDialog();
    m_lastPump = m_ui->Now();
    return true;
}

void CProgressDlg::OnInitDialog() {
    m_window->SetBarRange(m_nLower, m_nUpper);
    m_window->SetBarPosition(m_nLower);
    m_window->SetCaption(LoadCaption(m_nCaptionID));
}

void CProgressDlg::SetWindowText(const std::string& utf8) {
    if (m_window) {
        m_window->SetCaption(utf8);
    }
}

int CProgressDlg::SetPosition(int position) {
    if (!m_window) {
        return 0;
    }
    PumpPendingMessages();
    if (!m_window) {
        return 0;
    }
    int previous = m_window->SetBarPosition(position);
    UpdatePercentText(position);
    return previous;
}

bool CProgressDlg::CheckCancel() {
    if (m_window) {
        PumpPendingMessages();
    }
    bool cancel = m_bCancel != 0;
    m_bCancel = 0;
    return cancel;
}

void CProgressDlg::DestroyWindow() {
    ReEnableOwner();
    m_window.reset();
}

void CProgressDlg::PumpPendingMessages() {
    if (++m_callsSinceClockCheck < kCallsPerClockCheck) {
        return;
    }
    m_callsSinceClockCheck = 0;
    auto now = m_ui->Now();
    if (now - m_lastPump < kPumpInterval) {
        return;
    }
    m_lastPump = now;
    m_window->PumpPendingMessages();
}

std::string CProgressDlg::PercentText(int position, int lower, int upper) {
    long long percent = (static_cast<long long>(position) - lower) * 100 / (upper - lower);
    if (percent != 100) {
        percent %= 100;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%lld%c", percent, '%');
    return text;
}

void CProgressDlg::UpdatePercentText(int position) {
    std::string text = PercentText(position, m_nLower, m_nUpper);
    if (m_window->GetPercentText() != text) {
        m_window->SetPercentText(text);
    }
}

void CProgressDlg::ReEnableOwner() {
    if (m_bOwnerDisabled != 0 && m_ui != nullptr && m_ui->HasOwner()) {
        m_ui->EnableOwner(true);
    }
    m_bOwnerDisabled = 0;
}

}  // namespace ek
