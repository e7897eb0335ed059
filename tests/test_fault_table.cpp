// Injected faults through the effect in the simulated host, one row of a table each. The table is in
// tests/CMakeLists.txt: each row runs this program in a process of its own, with the row's name in
// PELLUX_FAULT_ROW and the row's environment (the drivers read theirs as the process starts), so that a
// crash or a hang of the host shows as such. The row renders a frame with the fault, checks the result
// code and the message the effect showed, then renders the next frame and checks what that one does, and
// prints a line that sums the row up.
//
// The rows of a failing job or OpenCL call run the test build of the module (pellux_fault_effect.aex),
// whose only difference is the linker seams that make a chosen job throw or fault (in the effect's code, in
// the stand-in driver's, or on the thread that posts it) and a chosen OpenCL call fail; every other row runs
// QSPellux.aex.
//
// Frames come from the host's render thread, where the effect shows no window (it would hang the host):
// a failed frame's message is the effect's report to the debugger.
#include <windows.h>

#include <CL/cl.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CrashDumpTranslator.h"
#include "DebugOutput.h"
#include "ErrorPopupCheck.h"
#include "HostFixture.h"
#include "OpenClFaults.h"

namespace {

using hostsim::Image;

constexpr wchar_t rowVariable[] = L"PELLUX_FAULT_ROW";

std::wstring environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length < 1024 ? std::wstring(value, length) : std::wstring();
}

std::wstring besideThisProgram(const wchar_t* file) {
    const std::wstring effect = hostsim::defaultEffectPath();
    return effect.substr(0, effect.find_last_of(L"\\/") + 1) + file;
}

// --- The child's side: one scene, one fault ------------------------------------------------------------

constexpr char reportPrefix[] = "QS Pellux Exception: ";

struct frame_result {
    PF_Err code = PF_Err_NONE;
    std::vector<hostsim::seen_window> dialogs;  // the windows the effect showed during the frame
    Image image;
    std::string report;  // the effect's error report to the debugger without its prefix; empty: none
};

class FaultScene {
public:
    explicit FaultScene(const std::wstring& module = hostsim::defaultEffectPath()) : host(module) {
        comp().width = 64;
        comp().height = 64;
    }
    ~FaultScene() {
        if (host.sequenceData()) {
            EXPECT_EQ(host.send(PF_Cmd_SEQUENCE_SETDOWN), PF_Err_NONE);
        }
        EXPECT_EQ(host.send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
        EXPECT_EQ(host.handles().faults(), std::vector<std::string>{}) << "the host's blocks";
        EXPECT_EQ(host.params().faults(), std::vector<std::string>{});
    }

    // Global, parameter and sequence set-up; the global set-up's result, with its dialogs.
    frame_result setUp() {
        host.dialogs().clear();
        frame_result result{host.send(PF_Cmd_GLOBAL_SETUP), host.dialogs().seen(), Image(1, 1), ""};
        EXPECT_EQ(host.send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
        EXPECT_EQ(host.send(PF_Cmd_SEQUENCE_SETUP), PF_Err_NONE);
        host.params().setFloat("Radius", 20);
        host.params().setCheckbox("Unlit Only", true);  // a white disc: drawn or not shows at the centre
        return result;
    }
    frame_result frame(int bits = 8) {
        EXPECT_EQ(host.send(PF_Cmd_UPDATE_PARAMS_UI), PF_Err_NONE);
        host.dialogs().clear();
        debugger.clear();
        const hostsim::rendered_frame rendered = host.renderFrame({0, bits, 1});
        EXPECT_EQ(rendered.record.preRenderResult, PF_Err_NONE);
        EXPECT_EQ(host.handles().lockCount(host.sequenceData()), 0u) << "the sequence data is unlocked";
        EXPECT_EQ(host.lastInData().current_time, 0) << "the frame's time is put back";
        // The report is the last the effect writes, and its text may run over several lines.
        std::string report;
        bool reporting = false;
        for (const std::string& line : debugger.lines()) {
            if (reporting) {
                report += "\n" + line;
            } else if (line.rfind(reportPrefix, 0) == 0) {
                report = line.substr(sizeof reportPrefix - 1);
                reporting = true;
            }
        }
        return {rendered.record.renderResult, host.dialogs().seen(), rendered.output->toImage(), report};
    }

    hostsim::Comp& comp() { return host.comp(); }
    hostsim::ParamStore& params() { return host.params(); }

    hostsim::DebugOutput debugger;
    hostsim::SimulatedHost host;
};

// The minidump this process wrote into the error-log folder, if any. The folder is the user's own and
// outlives every run, and process ids come round again: a dump that carries this process's id but was
// written before this process started is an earlier run's.
std::optional<std::wstring> dumpOfThisProcess() {
    const std::wstring folder = crashDumpFolder(crashDumpBaseFolder(documentsFolder()));
    const std::wstring mark = L"-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    FILETIME started{}, unused{};
    GetProcessTimes(GetCurrentProcess(), &started, &unused, &unused, &unused);
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*.dmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::wstring> dump;
    do {
        if (std::wstring_view(found.cFileName).find(mark) != std::wstring_view::npos &&
            CompareFileTime(&found.ftLastWriteTime, &started) >= 0)
            dump = folder + L"\\" + found.cFileName;
    } while (!dump && FindNextFileW(search, &found));
    FindClose(search);
    return dump;
}

bool drawn(const Image& image) { return image.at(image.width() / 2, image.height() / 2).a == 1.0f; }

// The one line the parent shows for the row.
void summary(const char* fault, const frame_result& failed, const frame_result& next) {
    std::string message;
    const auto add = [&](const std::string& title, std::string text) {
        for (char& c : text)
            if (c == '\n') c = ' ';
        message += (message.empty() ? "" : " + ") + title + ": " + text;
    };
    for (const hostsim::seen_window& window : failed.dialogs) add(window.title, window.text);
    if (!failed.report.empty()) add("debugger", failed.report);
    std::printf("fault row | %s | code %d | %s | next frame: code %d, %s\n", fault, static_cast<int>(failed.code),
                message.empty() ? "(no dialog)" : message.c_str(), static_cast<int>(next.code),
                drawn(next.image) ? "drawn" : "nothing drawn");
    std::fflush(stdout);
}

void expectOneDialog(FaultScene& scene, const frame_result& result, const std::string& text) {
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_TRUE(isErrorPopupShowing(scene.host, result.dialogs[0], text));
}

// A frame that failed on the host's render thread: its report went to the debugger, no window showed.
void expectReport(const frame_result& result, const std::string& text) {
    EXPECT_TRUE(result.dialogs.empty());
    EXPECT_EQ(result.report, text);
}

// A frame without a renderer: cancelled, with no report and nothing drawn.
void expectCancelled(const frame_result& result) {
    EXPECT_EQ(result.code, PF_Interrupt_CANCEL);
    EXPECT_TRUE(result.dialogs.empty());
    EXPECT_EQ(result.report, "");
    EXPECT_FALSE(drawn(result.image));
}

// The renderer could not start: set-up reports why; every frame after it is cancelled without a dialog.
// A failed shader compile shows its log first, in a box of its own.
void rendererCannotStart(const char* fault, const std::string& cause, bool compileLogFirst = false) {
    FaultScene scene;
    frame_result setUp = scene.setUp();
    EXPECT_EQ(setUp.code, PF_Err_INTERNAL_STRUCT_DAMAGED);
    const frame_result whole = setUp;
    if (compileLogFirst) {
        ASSERT_FALSE(setUp.dialogs.empty());
        EXPECT_EQ(setUp.dialogs.front().title, "Shader Log");
        EXPECT_NE(setUp.dialogs.front().text.find("error"), std::string::npos) << setUp.dialogs.front().text;
        setUp.dialogs.erase(setUp.dialogs.begin());
    }
    expectOneDialog(scene, setUp, "QS Pellux failed to initialize with error:\n\n" + cause);
    const frame_result first = scene.frame(), next = scene.frame();
    for (const frame_result* r : {&first, &next}) expectCancelled(*r);
    summary(fault, whole, next);
}

// An export of the test build of the module, or of the library it loaded.
template <class Function> Function exported(const wchar_t* module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}

constexpr wchar_t faultEffect[] = L"pellux_fault_effect.aex";

// The kinds of failure the test build's job seam injects (fault/JobFaults.cpp).
enum job_fault_kind {
    jobThrows = 1,
    jobFaults = 2,
    driverDeclines = 3,
    driverCppFrame = 4,
    posterFaults = 5,
};

// A job fails in the middle of a frame: the frame reports it; the renderer thread has ended, so every
// later frame is refused with the code of no renderer, never a silent empty picture.
void jobFails(const char* fault, int kind, const std::function<void(const std::string& report)>& checkReport) {
    FaultScene scene(besideThisProgram(faultEffect));
    ASSERT_EQ(scene.setUp().code, PF_Err_NONE);
    ASSERT_TRUE(drawn(scene.frame().image)) << "unarmed, the test build draws as the effect does";
    const auto arm = exported<void (*)(int, int)>(faultEffect, "qs_test_arm_job_fault");
    ASSERT_NE(arm, nullptr);
    // The jobs of a frame: begin frame, view, lights, clear, draw, composite, output: the draw fails.
    arm(kind, 5);
    const frame_result failed = scene.frame();
    EXPECT_EQ(failed.code, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_TRUE(failed.dialogs.empty());
    checkReport(failed.report);
    const frame_result next = scene.frame(), later = scene.frame();
    for (const frame_result* r : {&next, &later}) expectCancelled(*r);
    summary(fault, failed, next);
}

// The thread the host rendered on faults inside the effect, posting a job: the effect turned the
// translator on for that thread when the host first entered it there, so the fault becomes the frame's
// failure (a dump written by that thread), not the host's crash. The renderer was not hurt: the next frame
// draws.
void hostThreadFaults(const char* fault) {
    FaultScene scene(besideThisProgram(faultEffect));
    ASSERT_EQ(scene.setUp().code, PF_Err_NONE);
    ASSERT_TRUE(drawn(scene.frame().image));
    const auto arm = exported<void (*)(int, int)>(faultEffect, "qs_test_arm_job_fault");
    ASSERT_NE(arm, nullptr);
    arm(posterFaults, 5);  // the draw's poster
    const frame_result failed = scene.frame();
    EXPECT_EQ(failed.code, PF_Err_INTERNAL_STRUCT_DAMAGED);
    const std::optional<std::wstring> dump = dumpOfThisProcess();
    ASSERT_TRUE(dump) << "the dump was written";
    const std::wstring writer =
        L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(scene.host.renderThreadId()) + L".dmp";
    EXPECT_EQ(dump->size() > writer.size() ? dump->substr(dump->size() - writer.size()) : *dump, writer)
        << "written by the host's render thread";
    expectReport(failed, crashDumpMessage(*dump));
    EXPECT_TRUE(DeleteFileW(dump->c_str()));
    const frame_result next = scene.frame();
    EXPECT_EQ(next.code, PF_Err_NONE);
    EXPECT_EQ(next.report, "");
    EXPECT_TRUE(drawn(next.image));
    summary(fault, failed, next);
}

// A hardware fault became the crash-dump exception: the dump was written and the report names it.
void expectDumpReport(const std::string& report) {
    const std::optional<std::wstring> dump = dumpOfThisProcess();
    ASSERT_TRUE(dump) << "the dump was written";
    EXPECT_EQ(report, crashDumpMessage(*dump)) << "the report names the dump";
    EXPECT_TRUE(DeleteFileW(dump->c_str()));
}

// A hardware fault in the stand-in driver's code, called from the draw job; `seen` counts how often the
// driver's frame took part (its handler declined the fault, or its destructor ran in the unwind).
void driverFaults(const char* fault, int kind, const char* seen) {
    jobFails(fault, kind, [seen](const std::string& report) {
        expectDumpReport(report);
        const auto count = exported<int (*)()>(L"pellux_fault_driver.dll", seen);
        ASSERT_NE(count, nullptr);
        EXPECT_EQ(count(), 1) << "the driver's frame had its say";
    });
}

// An empty output draws nothing and succeeds; the renderer lives on and the next frame draws.
void emptyOutput(const char* fault) {
    FaultScene scene;
    ASSERT_EQ(scene.setUp().code, PF_Err_NONE);
    frame_result empty;
    for (const auto& [width, height] : {std::pair{0, 64}, std::pair{64, 0}}) {
        scene.comp().width = width;
        scene.comp().height = height;
        empty = scene.frame();
        EXPECT_EQ(empty.code, PF_Err_NONE) << width << " x " << height;
        EXPECT_TRUE(empty.dialogs.empty()) << width << " x " << height;
        EXPECT_EQ(empty.report, "") << width << " x " << height;
        EXPECT_EQ(empty.image.width() * empty.image.height(), 0);
    }
    scene.comp().width = scene.comp().height = 64;
    const frame_result next = scene.frame();
    EXPECT_EQ(next.code, PF_Err_NONE);
    EXPECT_EQ(next.report, "");
    EXPECT_TRUE(drawn(next.image));
    summary(fault, empty, next);
}

// The test build's OpenCL seam (fault/OpenClFaults.h).
struct opencl_seam {
    void (*arm)(int kind, int call, int error) =
        exported<void (*)(int, int, int)>(faultEffect, "qs_test_arm_opencl_fault");
    int (*liveMemory)() = exported<int (*)()>(faultEffect, "qs_test_live_opencl_memory");
};

// An OpenCL call fails in the middle of a frame: the frame fails alone with the step and the error, the
// next frame draws (with the map, where the frame has one) and no OpenCL memory is left behind.
struct opencl_failure {
    opencl_call call;
    int error;
    std::string message;
    std::function<void(FaultScene&)> before;  // what the failing frame changes
};

void openClFails(const char* fault, bool withMap, const std::vector<opencl_failure>& failures) {
    FaultScene scene(besideThisProgram(faultEffect));
    ASSERT_EQ(scene.setUp().code, PF_Err_NONE);
    ASSERT_TRUE(drawn(scene.frame().image)) << "unarmed, the test build draws as the effect does";
    const opencl_seam seam;
    ASSERT_TRUE(seam.arm && seam.liveMemory);
    const int live = seam.liveMemory();
    if (withMap)
        scene.host.setLayerParam("Diffuse Layer", scene.comp().addImage("Map", Image(16, 8, {0, 0, 1, 1})).id);
    frame_result failed, next;
    for (const opencl_failure& f : failures) {
        SCOPED_TRACE(f.message);
        if (f.before) f.before(scene);
        seam.arm(static_cast<int>(f.call), 1, f.error);
        failed = scene.frame();
        EXPECT_EQ(failed.code, PF_Err_INTERNAL_STRUCT_DAMAGED);
        expectReport(failed, f.message);
        next = scene.frame();
        EXPECT_EQ(next.code, PF_Err_NONE);
        EXPECT_EQ(next.report, "");
        EXPECT_TRUE(drawn(next.image));
        if (withMap) {
            const hostsim::rgba centre = next.image.at(next.image.width() / 2, next.image.height() / 2);
            EXPECT_NEAR(centre.r, 0.0f, 1e-3) << "drawn with the map";
            EXPECT_NEAR(centre.b, 1.0f, 1e-3) << "drawn with the map";
        }
        EXPECT_EQ(seam.liveMemory(), live) << "OpenCL memory left behind";
    }
    summary(fault, failed, next);
}

// A frame the renderer cannot make fails alone with its message; the next one draws.
void frameRefused(const char* fault, const std::function<void(FaultScene&)>& spoil,
                  const std::function<void(FaultScene&)>& mend, const std::string& message) {
    FaultScene scene;
    ASSERT_EQ(scene.setUp().code, PF_Err_NONE);
    spoil(scene);
    const frame_result failed = scene.frame();
    EXPECT_EQ(failed.code, PF_Err_INTERNAL_STRUCT_DAMAGED);
    expectReport(failed, message);
    mend(scene);
    const frame_result next = scene.frame();
    EXPECT_EQ(next.code, PF_Err_NONE);
    EXPECT_TRUE(next.dialogs.empty());
    EXPECT_EQ(next.report, "");
    EXPECT_TRUE(drawn(next.image));
    summary(fault, failed, next);
}

// Sequence data that is not the effect's cache: the frame draws with a cache of its own and writes
// nothing past the block (the host's guard bytes), and so does the next.
void foreignSequenceData(const char* fault, size_t size) {
    FaultScene scene;
    ASSERT_EQ(scene.setUp().code, PF_Err_NONE);
    scene.host.setLayerParam("Diffuse Layer", scene.comp().addImage("Map", Image(16, 8, {0, 0, 1, 1})).id);
    const PF_Handle own = scene.host.sequenceData();
    const PF_Handle foreign = scene.host.handles().create(size);
    std::vector<unsigned char> bytes(size);
    std::mt19937 random(18);
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
    std::memcpy(*foreign, bytes.data(), size);
    scene.host.setSequenceData(foreign);
    const frame_result first = scene.frame(), next = scene.frame();
    for (const frame_result* r : {&first, &next}) {
        EXPECT_EQ(r->code, PF_Err_NONE);
        EXPECT_TRUE(r->dialogs.empty());
        EXPECT_TRUE(drawn(r->image));
    }
    if (size < 164) {
        EXPECT_EQ(std::memcmp(*foreign, bytes.data(), size), 0) << "a block too small for the cache is left alone";
        EXPECT_NEAR(first.image.at(32, 32).b, 1.0f, 1e-3) << "drawn with the map";
    }
    EXPECT_EQ(scene.host.handles().faults(), std::vector<std::string>{});
    scene.host.setSequenceData(own);
    scene.host.handles().dispose(foreign);
    summary(fault, first, next);
}

// The host refuses the handle global set-up asks for: the set-up fails with the host's out-of-memory
// error, keeps nothing and shows nothing; set up again once the host has memory, the effect draws.
void globalSetUpRefused(const char* fault) {
    FaultScene scene;
    scene.host.refuseHandles = [](size_t) { return true; };
    scene.host.dialogs().clear();
    const frame_result failed{scene.host.send(PF_Cmd_GLOBAL_SETUP), scene.host.dialogs().seen(), Image(1, 1), ""};
    scene.host.refuseHandles = nullptr;
    EXPECT_EQ(failed.code, PF_Err_OUT_OF_MEMORY);
    EXPECT_TRUE(failed.dialogs.empty());
    EXPECT_EQ(scene.host.globalData(), nullptr) << "no global data handed back";
    EXPECT_EQ(scene.host.handles().liveCount(), 0u);
    ASSERT_EQ(scene.setUp().code, PF_Err_NONE);
    const frame_result next = scene.frame();
    EXPECT_EQ(next.code, PF_Err_NONE);
    EXPECT_TRUE(drawn(next.image));
    summary(fault, failed, next);
}

// The host refuses the flat form's handle: the flatten fails with the host's out-of-memory error and the
// instance keeps its cache as it was, so the next frame draws with the cached map without loading it.
void sequenceFlattenRefused(const char* fault) {
    FaultScene scene;
    ASSERT_EQ(scene.setUp().code, PF_Err_NONE);
    scene.host.setLayerParam("Diffuse Layer", scene.comp().addImage("Map", Image(16, 8, {0, 0, 1, 1})).id);
    ASSERT_EQ(scene.frame().code, PF_Err_NONE);
    const PF_Handle cache = scene.host.sequenceData();
    const auto bytes = [&] {
        const auto* data = static_cast<const unsigned char*>(*cache);
        return std::vector<unsigned char>(data, data + scene.host.handles().size(cache));
    };
    const std::vector<unsigned char> before = bytes();
    ASSERT_NE(before, std::vector<unsigned char>(before.size(), 0)) << "the cache holds the map's texture";

    scene.host.refuseHandles = [](size_t) { return true; };
    const frame_result failed{scene.host.send(PF_Cmd_SEQUENCE_FLATTEN), {}, Image(1, 1), ""};
    scene.host.refuseHandles = nullptr;
    EXPECT_EQ(failed.code, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(scene.host.sequenceData(), cache) << "the instance's sequence data is still its cache";
    ASSERT_TRUE(scene.host.handles().isLive(cache));
    EXPECT_EQ(scene.host.handles().lockCount(cache), 0u);
    EXPECT_EQ(bytes(), before) << "the cache as it was";

    const frame_result next = scene.frame();
    EXPECT_EQ(next.code, PF_Err_NONE);
    EXPECT_NEAR(next.image.at(32, 32).b, 1.0f, 1e-3) << "drawn with the map";
    for (const std::string& line : scene.debugger.lines())
        EXPECT_EQ(line.rfind("Load Layer", 0), std::string::npos) << "the cached texture was kept: " << line;
    EXPECT_EQ(scene.host.send(PF_Cmd_SEQUENCE_FLATTEN), PF_Err_NONE) << "with memory, the flatten works";
    EXPECT_EQ(scene.host.handles().size(scene.host.sequenceData()), 8u);
    summary(fault, failed, next);
}

// Every float slider at both ends of its range, a "Gamma" of 0.01 over a lit sphere's highlights, and
// comp lights beyond float range: every value of the 32-bit output is finite.
void extremeValues(const char* fault) {
    FaultScene scene;
    ASSERT_EQ(scene.setUp().code, PF_Err_NONE);
    scene.params().setCheckbox("Unlit Only", false);
    const auto expectFinite = [&](const std::string& what) {
        const frame_result r = scene.frame(32);
        EXPECT_EQ(r.code, PF_Err_NONE) << what;
        int bad = 0;
        for (int y = 0; y < r.image.height(); ++y)
            for (int x = 0; x < r.image.width(); ++x) {
                const hostsim::rgba& p = r.image.at(x, y);
                for (float v : {p.r, p.g, p.b, p.a}) bad += std::isfinite(v) ? 0 : 1;
            }
        EXPECT_EQ(bad, 0) << what << ": values that are not finite";
        return r;
    };
    int frames = 0;
    for (PF_ParamIndex i = 1; i < static_cast<PF_ParamIndex>(scene.params().count()); ++i) {
        const PF_ParamDef& def = scene.params().at(i).def;
        if (def.param_type != PF_Param_FLOAT_SLIDER) continue;
        const double dflt = def.u.fs_d.value;
        for (double value : {static_cast<double>(def.u.fs_d.valid_min), static_cast<double>(def.u.fs_d.valid_max)}) {
            scene.params().setFloat(i, value);
            expectFinite(std::string(def.name) + " " + std::to_string(value));
            ++frames;
        }
        scene.params().setFloat(i, dflt);
    }
    EXPECT_GT(frames, 20) << "the sweep reached the sliders";

    scene.comp().width = scene.comp().height = 256;
    scene.params().setFloat("Radius", 80);
    scene.params().setFloat("Gamma", 0.01);
    expectFinite("Gamma 0.01");
    for (double intensity : {1e39, -1e39, 1e300}) {
        hostsim::light_settings light;
        light.intensity = intensity;
        light.position = {0, 0, -300};
        light.pointOfInterest = {128, 128, 0};
        scene.comp().addLight(light);
        expectFinite("a light of intensity " + std::to_string(intensity));
    }
    const frame_result last = expectFinite("the last frame");
    summary(fault, last, last);
}

TEST(FaultRow, Run) {
    const std::wstring row = environment(rowVariable);
    const std::string name(row.begin(), row.end());
    if (name == "no OpenCL") return rendererCannotStart(name.c_str(), "no OpenCL platforms available");
    if (name == "no GL 4.1") return rendererCannotStart(name.c_str(), "failed to create OpenGL 4.1 context");
    if (name == "a shader that fails")
        return rendererCannotStart(name.c_str(), "failed to compile shader source", true);
    if (name == "a job that throws")
        return jobFails(name.c_str(), jobThrows,
                        [](const std::string& report) { EXPECT_EQ(report, "injected job failure"); });
    if (name == "a hardware fault in a job") return jobFails(name.c_str(), jobFaults, expectDumpReport);
    if (name == "a hardware fault in a driver's code")
        return driverFaults(name.c_str(), driverDeclines, "qs_driver_declined");
    if (name == "a hardware fault in another library's C++ frame")
        return driverFaults(name.c_str(), driverCppFrame, "qs_driver_cleanups");
    if (name == "a hardware fault on the host's render thread") return hostThreadFaults(name.c_str());
    if (name == "an empty output") return emptyOutput(name.c_str());
    if (name == "an OpenCL allocation that fails")
        return openClFails(name.c_str(), false,
                           {{opencl_call::createBuffer, CL_MEM_OBJECT_ALLOCATION_FAILURE,
                             "failed to create the OpenCL output buffer: OpenCL error "
                             "CL_MEM_OBJECT_ALLOCATION_FAILURE (-4)",
                             [](FaultScene& s) { s.comp().width = 48; }}});  // a new size: a new output buffer
    if (name == "an OpenCL kernel that fails")
        return openClFails(
            name.c_str(), true,
            {{opencl_call::runKernel, CL_OUT_OF_RESOURCES,
              "failed to run the input kernel: OpenCL error CL_OUT_OF_RESOURCES (-5)", {}},  // the map's upload
             {opencl_call::runKernel, CL_OUT_OF_RESOURCES,
              "failed to run the output kernel: OpenCL error CL_OUT_OF_RESOURCES (-5)", {}}});  // the map is kept
    if (name == "an oversized comp")
        return frameRefused(
            name.c_str(), [](FaultScene& s) { s.comp().height = 16385; },
            [](FaultScene& s) { s.comp().height = 64; }, "render texture size is over maximum supported size");
    if (name == "an oversized layer")
        return frameRefused(
            name.c_str(),
            [](FaultScene& s) {
                s.host.setLayerParam("Diffuse Layer", s.comp().addImage("Wide", Image(16385, 1, {1, 1, 1, 1})).id);
            },
            [](FaultScene& s) { s.host.setLayerParam("Diffuse Layer", 0); },
            "layer texture size is over maximum supported size: Diffuse Layer is 16385 x 1 pixels");
    if (name == "undersized sequence data") return foreignSequenceData(name.c_str(), 8);
    if (name == "random sequence data") return foreignSequenceData(name.c_str(), 164);
    if (name == "extreme values at 32 bits") return extremeValues(name.c_str());
    if (name == "a refused global set-up handle") return globalSetUpRefused(name.c_str());
    if (name == "a refused flat sequence handle") return sequenceFlattenRefused(name.c_str());
    FAIL() << "no row named \"" << name << "\"";
}

}  // namespace
