#include "net_dialogs.h"

// The adapter list needs Winsock's address types, declared before the window headers; no
// socket is opened here.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <random>
#include <string_view>
#include <vector>

#include "game_shell.h"
#include "ids_and_sizes.h"
#include "net_fight.h"
#include "resource_ids.h"
#include "wide_text.h"
#include "win32_platform.h"

namespace blok::win32 {

namespace {

constexpr UINT kServiceMs = 10;
constexpr const char* kCaption = "Network Fight";
constexpr std::string_view kWaiting = "Waiting for the other player to join…";
constexpr int kMaxHostName = 253;

Win32NetUi* serviced = nullptr;  // the one game window's network layer, for the timer

std::string AddressText(const sockaddr_in& address) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&address.sin_addr);
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
           std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
}

// The machine's IPv4 addresses another machine may reach it on.
std::string LocalAddresses() {
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer(size);
    auto* adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    if (GetAdaptersAddresses(AF_INET, flags, nullptr, adapters, &size) == ERROR_BUFFER_OVERFLOW) {
        buffer.resize(size);
        adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
    }
    std::string list;
    if (GetAdaptersAddresses(AF_INET, flags, nullptr, adapters, &size) == NO_ERROR) {
        for (auto* adapter = adapters; adapter != nullptr; adapter = adapter->Next) {
            for (auto* unicast = adapter->FirstUnicastAddress; unicast != nullptr;
                 unicast = unicast->Next) {
                const auto* address =
                    reinterpret_cast<const sockaddr_in*>(unicast->Address.lpSockaddr);
                if (address->sin_family != AF_INET) continue;
                const std::string text = AddressText(*address);
                if (text.starts_with("127.")) continue;
                list += (list.empty() ? "" : ", ") + text;
            }
        }
    }
    return list.empty() ? "(no network found)" : list;
}

void SetText(HWND dialog, int id, std::string_view text) {
    SetDlgItemTextW(dialog, id, Wide(std::string(text)).c_str());
}

std::string Text(HWND dialog, int id) {
    wchar_t text[kMaxHostName + 1] = {};
    GetDlgItemTextW(dialog, id, text, kMaxHostName + 1);
    return Utf8(text);
}

std::string Trimmed(std::string text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// What a dialog procedure needs: the fight and, for the joiner, how to keep it serviced.
struct DialogState {
    explicit DialogState(net::NetFight& theFight) : fight(theFight) {}
    net::NetFight& fight;
    std::uint16_t port = 0;
    std::string code;
    Win32NetUi* owner = nullptr;
    void (Win32NetUi::*connecting)() = nullptr;
};

DialogState& StateOf(HWND dialog) {
    return *reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

INT_PTR CALLBACK HostProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            DialogState& state = StateOf(dialog);
            SetText(dialog, BLOK_NET_PORT, std::to_string(state.port));
            SetText(dialog, BLOK_NET_ADDRESSES, LocalAddresses());
            SetText(dialog, BLOK_NET_CODE, state.code);
            SetText(dialog, BLOK_NET_STATUS, kWaiting);
            state.fight.SetCallbacks(
                {[dialog] { EndDialog(dialog, IDOK); },
                 [dialog](std::string_view why) { SetText(dialog, BLOK_NET_STATUS, why); },
                 [dialog](std::string_view what) {
                     SetText(dialog, BLOK_NET_STATUS,
                             std::string(what) + "\n" + std::string(kWaiting));
                 }});
            SetFocus(GetDlgItem(dialog, IDCANCEL));
            return FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

void SetBusy(HWND dialog, bool busy) {
    for (int id : {BLOK_NET_HOST, BLOK_NET_PORT, BLOK_NET_CODE, IDOK}) {
        EnableWindow(GetDlgItem(dialog, id), busy ? FALSE : TRUE);
    }
}

void JoinFailed(HWND dialog, std::string_view why) {
    SetBusy(dialog, false);
    SetText(dialog, BLOK_NET_STATUS, why);
}

void TryJoin(HWND dialog) {
    DialogState& state = StateOf(dialog);
    const std::string host = Trimmed(Text(dialog, BLOK_NET_HOST));
    const std::string code = Upper(Trimmed(Text(dialog, BLOK_NET_CODE)));
    BOOL portRead = FALSE;
    const UINT port = GetDlgItemInt(dialog, BLOK_NET_PORT, &portRead, FALSE);
    if (!net::IsValidText(host, kMaxHostName) || host.empty()) {
        return JoinFailed(dialog, "Type the host's name or address.");
    }
    if (!portRead || port == 0 || port > 65535) {
        return JoinFailed(dialog, "Type a port from 1 to 65535.");
    }
    std::string error;
    if (!state.fight.Join(host, static_cast<std::uint16_t>(port), code, error)) {
        return JoinFailed(dialog, error);
    }
    SetBusy(dialog, true);
    SetText(dialog, BLOK_NET_STATUS, "Connecting…");
    (state.owner->*state.connecting)();
}

INT_PTR CALLBACK JoinProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            DialogState& state = StateOf(dialog);
            SendDlgItemMessageW(dialog, BLOK_NET_HOST, EM_LIMITTEXT, kMaxHostName, 0);
            SendDlgItemMessageW(dialog, BLOK_NET_PORT, EM_LIMITTEXT, 5, 0);
            SendDlgItemMessageW(dialog, BLOK_NET_CODE, EM_LIMITTEXT, net::kMaxJoinCode, 0);
            SetDlgItemInt(dialog, BLOK_NET_PORT, net::kDefaultPort, FALSE);
            state.fight.SetCallbacks({[dialog] { EndDialog(dialog, IDOK); },
                                      [dialog](std::string_view why) { JoinFailed(dialog, why); },
                                      {}});
            return TRUE;  // the host's box has the keyboard
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) TryJoin(dialog);
            if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

void CALLBACK OnServiceTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (serviced != nullptr) serviced->Service();
}

std::string RandomJoinCode() {
    std::random_device entropy;
    return net::MakeJoinCode(static_cast<std::uint32_t>(entropy()));
}

}  // namespace

Win32NetUi::Win32NetUi(Win32Platform& platform, GameShell& shell, net::NetFight& fight)
    : platform_(platform), shell_(shell), fight_(fight) {
    serviced = this;
    platform_.SetCommandHandler(kCmdHostFight, kCmdJoinFight, [this](int id) {
        if (id == kCmdHostFight) HostNow(net::kDefaultPort, {});
        if (id == kCmdJoinFight) OpenJoinDialog();
    });
}

Win32NetUi::~Win32NetUi() {
    if (timer_ != 0) KillTimer(nullptr, timer_);
    serviced = nullptr;
}

bool Win32NetUi::MayStart() {
    if (fight_.CurrentStage() != net::NetFight::Stage::kIdle ||
        shell_.game().iGameStatus != kStatusTitle) {
        platform_.ShowMessage("A network fight starts from the title screen, when no game runs.",
                              kCaption);
        return false;
    }
    return true;
}

void Win32NetUi::HostNow(std::uint16_t port, const std::string& code) {
    if (!MayStart()) return;
    DialogState state{fight_};
    state.code = code.empty() ? RandomJoinCode() : Upper(code);
    std::string error;
    if (!fight_.Host(port, state.code, error)) {
        platform_.ShowMessage(error, kCaption);
        return;
    }
    KeepServicing();
    state.port = fight_.Port();
    if (DialogBoxParamW(platform_.Instance(), L"NETHOST", platform_.Window(), HostProcedure,
                        reinterpret_cast<LPARAM>(&state)) != IDOK) {
        fight_.Cancel();
    }
    fight_.SetCallbacks({});
}

void Win32NetUi::OpenJoinDialog() {
    if (!MayStart()) return;
    DialogState state{fight_};
    state.owner = this;
    state.connecting = &Win32NetUi::KeepServicing;
    if (DialogBoxParamW(platform_.Instance(), L"NETJOIN", platform_.Window(), JoinProcedure,
                        reinterpret_cast<LPARAM>(&state)) != IDOK) {
        fight_.Cancel();
    }
    fight_.SetCallbacks({});
}

void Win32NetUi::JoinNow(const std::string& host, std::uint16_t port, const std::string& code) {
    if (!MayStart()) return;
    fight_.SetCallbacks(
        {{}, [this](std::string_view why) { platform_.ShowMessage(why, kCaption); }, {}});
    std::string error;
    if (!fight_.Join(host, port, Upper(code), error)) {
        platform_.ShowMessage(error, kCaption);
        return;
    }
    KeepServicing();
}

void Win32NetUi::KeepServicing() {
    if (timer_ == 0) timer_ = SetTimer(nullptr, 0, kServiceMs, OnServiceTimer);
}

// Without a fight the timer rests, so the title screen costs no wake-ups of its own.
void Win32NetUi::Service() {
    fight_.Service();
    if (!fight_.NeedsService() && timer_ != 0) {
        KillTimer(nullptr, timer_);
        timer_ = 0;
    }
}

}  // namespace blok::win32
