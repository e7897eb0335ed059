// The controls panel's suites: the custom UI suite that hands out the drawing reference of the control
// being drawn, and the DRAWBOT draw, supplier and surface suites over the host's Drawbot.
#include "HostSuites.h"

#include "../SimulatedHost.h"

namespace hostsim {

namespace {

Drawbot& drawbot() { return SimulatedHost::current().drawbot(); }

PF_Err drawingReference(PF_ContextH context, DRAWBOT_DrawRef* drawing) {
    if (!drawing) return PF_Err_BAD_CALLBACK_PARAM;
    *drawing = drawbot().drawingFor(context);
    return PF_Err_NONE;
}
SPErr supplier(DRAWBOT_DrawRef drawing, DRAWBOT_SupplierRef* out) { return drawbot().supplierOf(drawing, out); }
SPErr surface(DRAWBOT_DrawRef drawing, DRAWBOT_SurfaceRef* out) { return drawbot().surfaceOf(drawing, out); }
SPErr newImage(DRAWBOT_SupplierRef supplier, int width, int height, int rowBytes, DRAWBOT_PixelLayout layout,
               const void* data, DRAWBOT_ImageRef* image) {
    return drawbot().newImageFromBuffer(supplier, width, height, rowBytes, layout, data, image);
}
SPErr releaseObject(DRAWBOT_ObjectRef object) { return drawbot().releaseObject(object); }
SPErr drawImage(DRAWBOT_SurfaceRef surface, DRAWBOT_ImageRef image, const DRAWBOT_PointF32* origin, float alpha) {
    return drawbot().drawImage(surface, image, origin, alpha);
}

PF_EffectCustomUISuite1 makeCustomUiSuite() {
    PF_EffectCustomUISuite1 suite{};
    suite.PF_GetDrawingReference = drawingReference;
    return suite;
}
DRAWBOT_DrawbotSuite1 makeDrawSuite() {
    DRAWBOT_DrawbotSuite1 suite{};
    suite.GetSupplier = supplier;
    suite.GetSurface = surface;
    return suite;
}
DRAWBOT_SupplierSuite1 makeSupplierSuite() {
    DRAWBOT_SupplierSuite1 suite{};
    suite.NewImageFromBuffer = newImage;
    suite.ReleaseObject = releaseObject;
    return suite;
}
DRAWBOT_SurfaceSuite1 makeSurfaceSuite() {
    DRAWBOT_SurfaceSuite1 suite{};
    suite.DrawImage = drawImage;
    return suite;
}

// Slots the simulated host does not offer stay null.
const PF_EffectCustomUISuite1 customUiSuite = makeCustomUiSuite();
const DRAWBOT_DrawbotSuite1 drawSuite = makeDrawSuite();
const DRAWBOT_SupplierSuite1 supplierSuite = makeSupplierSuite();
const DRAWBOT_SurfaceSuite1 surfaceSuite = makeSurfaceSuite();

}  // namespace

void provideDrawbotSuites(SuiteRegistry& registry) {
    registry.provide(kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1, &customUiSuite);
    registry.provide(kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1, &drawSuite);
    registry.provide(kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1, &supplierSuite);
    registry.provide(kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version1, &surfaceSuite);
}

}  // namespace hostsim
