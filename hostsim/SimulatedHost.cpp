#include "SimulatedHost.h"

#include <cstring>
#include <stdexcept>

#include "HostCallbacks.h"

namespace hostsim {

namespace {

SimulatedHost* activeHost = nullptr;

constexpr wchar_t mainWindowClass[] = L"PelluxHostMainWindow";

}  // namespace

HostMainWindow::HostMainWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = mainWindowClass;
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, mainWindowClass, L"Simulated Host", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 800, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
    if (!window_) throw std::runtime_error("cannot create the host's main window");
    ShowWindow(window_, SW_SHOWNOACTIVATE);
}

HostMainWindow::~HostMainWindow() { DestroyWindow(window_); }

SimulatedHost::SimulatedHost(const std::wstring& modulePath) {
    if (activeHost) throw std::logic_error("only one simulated host may run at a time");
    activeHost = this;
    try {
        watcher_ = std::make_unique<ModalWatcher>(std::vector<HWND>{mainWindow_.handle()});
        callbacks::install(*this, basic_, utils_);
        module_ = std::make_unique<EffectModule>(modulePath);
    } catch (...) {
        activeHost = nullptr;
        throw;
    }
}

SimulatedHost::~SimulatedHost() {
    if (setUp_) send(PF_Cmd_GLOBAL_SETDOWN);
    module_.reset();
    watcher_.reset();
    activeHost = nullptr;
}

SimulatedHost& SimulatedHost::current() {
    if (!activeHost) throw std::logic_error("no simulated host is running");
    return *activeHost;
}

void SimulatedHost::prepareInData() {
    std::memset(&in_, 0, sizeof in_);
    std::memset(&out_, 0, sizeof out_);
    callbacks::installInteract(in_.inter);
    in_.utils = &utils_;
    in_.effect_ref = effectRef();
    in_.version_major = 13;
    in_.version_minor = 28;
    in_.num_params = static_cast<A_long>(params_.count());
    in_.current_time = currentTime_;
    in_.time_scale = 30;
    in_.time_step = 1;
    in_.local_time_step = 1;
    in_.downsample_x = in_.downsample_y = PF_RationalScale{1, 1};
    in_.pixel_aspect_ratio = PF_RationalScale{1, 1};
    in_.width = comp_.width;
    in_.height = comp_.height;
    in_.global_data = globalData_;
    in_.sequence_data = sequenceData_;
    in_.pica_basicP = &basic_;
    out_.global_data = globalData_;
    out_.sequence_data = sequenceData_;
}

PF_Err SimulatedHost::send(PF_Cmd command, void* extra) {
    prepareInData();
    if (command == PF_Cmd_PARAMS_SETUP) params_.beginSetup();
    const PF_Err result = module_->call(command, &in_, &out_, nullptr, nullptr, extra);
    if (command == PF_Cmd_PARAMS_SETUP)
        params_.endSetup(result == PF_Err_NONE ? std::optional<A_long>(out_.num_params) : std::nullopt);
    globalData_ = out_.global_data;
    if (command == PF_Cmd_GLOBAL_SETUP) setUp_ = true;
    if (command == PF_Cmd_GLOBAL_SETDOWN) {
        setUp_ = false;
        globalData_ = nullptr;
    }
    if (command >= PF_Cmd_SEQUENCE_SETUP && command <= PF_Cmd_SEQUENCE_SETDOWN) sequenceData_ = out_.sequence_data;
    return result;
}

SmartRenderSession& SimulatedHost::activeSession() {
    if (!session_) throw std::logic_error("the effect asked for frame pixels outside a render");
    return *session_;
}

PF_Err SimulatedHost::platformData(PF_PlatDataID which, void* data) {
    if (which != PF_PlatData_MAIN_WND || !data) return PF_Err_BAD_CALLBACK_PARAM;
    *static_cast<HWND*>(data) = mainWindow_.handle();
    return PF_Err_NONE;
}

A_Err SimulatedHost::registerWithAegp(const A_char* name, AEGP_PluginID* id) {
    registeredName_ = name ? name : "";
    pluginId_ = 7;
    if (id) *id = pluginId_;
    return 0;
}

}  // namespace hostsim
