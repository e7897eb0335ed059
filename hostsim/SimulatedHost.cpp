#include "SimulatedHost.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "HostCallbacks.h"
#include "format_string.h"

namespace hostsim {

bool carriesParams(PF_Cmd command) {
    switch (command) {
    case PF_Cmd_DO_DIALOG:
    case PF_Cmd_FRAME_SETUP:
    case PF_Cmd_RENDER:
    case PF_Cmd_FRAME_SETDOWN:
    case PF_Cmd_USER_CHANGED_PARAM:
    case PF_Cmd_UPDATE_PARAMS_UI:
    case PF_Cmd_EVENT:
    case PF_Cmd_QUERY_DYNAMIC_FLAGS:
        return true;
    default:
        return false;
    }
}

namespace {

SimulatedHost* activeHost = nullptr;

constexpr wchar_t mainWindowClass[] = L"PelluxHostMainWindow";
// How long the main window waits for a usable desktop, and how often it tries.
constexpr ULONGLONG desktopWaitMs = 10000;
constexpr DWORD desktopRetryMs = 100;

}  // namespace

HostMainWindow::HostMainWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = mainWindowClass;
    RegisterClassW(&windowClass);
    // Wine's desktop process ends a moment after the last program with a window and is started again by
    // the next one: a program that joins the desktop while that process starts or ends can find no usable
    // desktop window, and its first windows fail; so does a thread left on a desktop handle without the
    // right to make windows. The thread is then attached to the default desktop afresh (which also makes it
    // look its desktop window up again) and tries again, for a bounded time.
    const ULONGLONG deadline = GetTickCount64() + desktopWaitMs;
    bool attached = false;
    for (;;) {
        window_ = CreateWindowExW(0, mainWindowClass, L"Simulated Host", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 800,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
        if (window_) break;
        const DWORD error = GetLastError();
        if (GetTickCount64() >= deadline)
            throw std::runtime_error(qssdk::format_string("cannot create the host's main window (error %lu)", error));
        Sleep(desktopRetryMs);
        // Attached once: the handle then stays open as long as the thread uses the desktop.
        if (attached) continue;
        if (HDESK desktop = OpenDesktopW(L"Default", 0, FALSE, GENERIC_ALL)) {
            attached = SetThreadDesktop(desktop);
            if (!attached) CloseDesktop(desktop);
        }
    }
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
        shell_.intercept(module_->handle());
        renderThread_ = std::make_unique<HostRenderThread>();
    } catch (...) {
        activeHost = nullptr;
        throw;
    }
}

SimulatedHost::~SimulatedHost() {
    if (setUp_) send(PF_Cmd_GLOBAL_SETDOWN);
    renderThread_.reset();  // ends while the effect it entered is still loaded
    module_.reset();
    watcher_.reset();
    activeHost = nullptr;
}

SimulatedHost& SimulatedHost::current() {
    if (!activeHost) throw std::logic_error("no simulated host is running");
    return *activeHost;
}

PF_InData SimulatedHost::inData(A_long time, downsample_factors downsample) {
    PF_InData in{};
    callbacks::installInteract(in.inter);
    in.utils = &utils_;
    in.effect_ref = effectRef();
    in.version.major = 13;
    in.version.minor = 28;
    in.num_params = static_cast<A_long>(params_.count());
    in.current_time = time;
    in.time_scale = comp_.timeScale();
    in.time_step = comp_.frameStep();
    in.local_time_step = comp_.frameStep();  // the effect's layer runs at the comp's speed
    in.total_time = static_cast<A_long>(std::lround(comp_.duration * in.time_scale));
    in.field = PF_Field_FRAME;
    in.downsample_x = PF_RationalScale{1, static_cast<A_u_long>(std::max(downsample.x, 1))};
    in.downsample_y = PF_RationalScale{1, static_cast<A_u_long>(std::max(downsample.y, 1))};
    in.pixel_aspect_ratio = PF_RationalScale{comp_.pixelAspect.num, comp_.pixelAspect.den};
    in.width = downsampledSize(comp_.width, downsample.x);
    in.height = downsampledSize(comp_.height, downsample.y);
    in.extent_hint = PF_LRect{0, 0, in.width, in.height};
    in.global_data = globalData_;
    in.sequence_data = sequenceData_;
    in.pica_basicP = &basic_;
    return in;
}

PF_Err SimulatedHost::send(PF_Cmd command, void* extra) { return dispatch(command, extra, inData(currentTime_, 1)); }

PF_Err SimulatedHost::dispatch(PF_Cmd command, void* extra, const PF_InData& in) {
    in_ = in;
    std::memset(&out_, 0, sizeof out_);
    out_.global_data = globalData_;
    out_.sequence_data = sequenceData_;
    if (command == PF_Cmd_PARAMS_SETUP) params_.beginSetup();
    std::vector<PF_ParamDef> values;
    std::vector<PF_ParamDef*> array;
    if (carriesParams(command)) {
        values = params_.valuesAt(in.current_time, in.time_scale, effectLayer());
        for (PF_ParamDef& value : values) array.push_back(&value);
    }
    // The host's documentation forbids checkouts while the controls are updated: they recurse into it.
    if (command == PF_Cmd_UPDATE_PARAMS_UI) params_.forbidCheckouts("UPDATE_PARAMS_UI");
    const PF_Err result = module_->call(command, &in_, &out_, array.empty() ? nullptr : array.data(), nullptr, extra);
    params_.allowCheckouts();
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

PF_InData SimulatedHost::renderInData(const frame_request& request) {
    if (request.downsample.x < 1 || request.downsample.y < 1)
        throw std::invalid_argument("the downsample factors must be 1 or more");
    // The request names a comp time; the host hands the effect its layer's time, which must fit its 32 bits
    // (the comp time, in the same scale, need not).
    const A_u_long scale = comp_.timeScale();
    const int64_t layerTime = std::llround(request.seconds * scale) - comp_.effectLayer().inPointIn(scale);
    if (layerTime < std::numeric_limits<A_long>::min() || layerTime > std::numeric_limits<A_long>::max())
        throw std::invalid_argument("the frame's time lies beyond the effect layer's times");
    return inData(static_cast<A_long>(layerTime), request.downsample);
}

rendered_frame SimulatedHost::renderFrame(const frame_request& request) {
    if (session_) throw std::logic_error("a frame is already being rendered");
    const PF_InData in = renderInData(request);
    SmartRenderSession session(request, comp_.width, comp_.height, in.pixel_aspect_ratio,
                               [this](PF_ParamIndex index) { return layerParamSource(index); });
    session.refusePixels = refuseLayerPixels;
    struct active_session {
        SmartRenderSession*& slot;
        ~active_session() { slot = nullptr; }
    } guard{session_};
    session_ = &session;
    currentTime_ = in.current_time;

    const auto onRenderThread = [this, &in](PF_Cmd command, void* extra) {
        PF_Err result = PF_Err_NONE;
        renderThread_->run([&] { result = dispatch(command, extra, in); });
        return result;
    };
    session.finishPreRender(onRenderThread(PF_Cmd_SMART_PRE_RENDER, &session.preRenderExtra()));
    // A host renders nothing after a failed pre-render.
    if (session.record().preRenderResult == PF_Err_NONE) {
        session.prepareLayerPixels();
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        const PF_Err result = onRenderThread(PF_Cmd_SMART_RENDER, &session.renderExtra());
        QueryPerformanceCounter(&end);
        session.finishRender(result);
        session.record().renderMilliseconds =
            static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
    }
    return rendered_frame{session.record(), session.takeOutput()};
}

void SimulatedHost::setLayerParam(const param_ref& ref, AEGP_LayerIDVal id) {
    if (id == 0) {
        params_.setLayer(ref, layer_ref{});
        return;
    }
    const comp_layer* layer = comp_.layerById(id);
    if (!layer) throw std::invalid_argument("the comp has no layer " + std::to_string(id));
    const Image* image = layer->image.get();
    params_.setLayer(ref, layer_ref{id, image ? image->width() : 0, image ? image->height() : 0});
}

layer_source SimulatedHost::layerParamSource(PF_ParamIndex index) const {
    if (index <= 0 || static_cast<size_t>(index) >= params_.count()) return {};
    const host_param& param = params_.at(index);
    if (param.def.param_type != PF_Param_LAYER) return {};
    const comp_layer* layer = comp_.layerById(params_.layerOf(index, effectLayer()).id);
    return layer ? layer_source{layer->id, layer->image} : layer_source{};
}

void SimulatedHost::paramCheckedOut(PF_ParamIndex index) {
    if (session_) session_->layerParamCheckedOut(index);
}

PF_Handle SimulatedHost::newHandle(size_t size) {
    if (refuseHandles && refuseHandles(size)) return nullptr;
    return handles_.create(size);
}

SmartRenderSession& SimulatedHost::activeSession() {
    if (!session_) throw std::logic_error("the effect asked for frame pixels outside a render");
    return *session_;
}

PF_Err SimulatedHost::platformData(PF_PlatDataID which, void* data) {
    if (which != PF_PlatData_MAIN_WND || !data) return PF_Err_BAD_CALLBACK_PARAM;
    *static_cast<HWND*>(data) = noMainWindow ? nullptr : mainWindow_.handle();
    return PF_Err_NONE;
}

A_Err SimulatedHost::registerWithAegp(const A_char* name, AEGP_PluginID* id) {
    registeredName_ = name ? name : "";
    pluginId_ = 7;
    if (id) *id = pluginId_;
    return 0;
}

}  // namespace hostsim
