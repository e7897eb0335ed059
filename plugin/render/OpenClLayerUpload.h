// The OpenCL half of a layer upload: host pixels through the input kernel into a GL texture.
#pragma once

#include "OpenClPrograms.h"
#include "render_records.h"

// Runs image's pixels through the input kernel of its channel width into the texture (GL_RGBA16F, the image's
// size), with the GL context current. Another channel width runs no kernel. Throws frame_exception when
// OpenCL fails; the texture's texels are then undefined.
void uploadPixels(const OpenClContext& context, const pixel_kernels& kernels, const pixel_buffer& image,
                  unsigned texture);
