#pragma once

// OpenGL 1.1 and OSMesa reached through pointers into libOSMesa, which COSMesaLibrary opens at
// run time. Linked at build time, libOSMesa and the LLVM it carries were loaded before main()
// and doubled the program's start; opened on demand (in the background at start), the window
// shows at once. Every file that draws includes this header instead of the GL headers: after
// it, a call such as glBegin(GL_LINES) goes through osmesaapi::p_glBegin, with the same
// arguments and types as before. gluProject and gluPerspective are done here with GLU's
// arithmetic, since libGLU would send its own GL calls to glvnd's libOpenGL, not to OSMesa.

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/osmesa.h>

// Every GL entry point the program uses; a new one is added here (a call to a function not
// listed fails to link, as nothing provides the gl* symbols any more).
// clang-format off
#define QUIVRA_GL_FUNCTIONS(X)                                                                     \
    X(glAlphaFunc) X(glBegin) X(glBindTexture) X(glBitmap) X(glBlendFunc) X(glClear)               \
    X(glClearColor) X(glColor3d) X(glColor3f) X(glColor3fv) X(glColor3ub) X(glColor4f)             \
    X(glColor4fv) X(glColor4ub) X(glColorMask) X(glColorPointer) X(glDeleteTextures)               \
    X(glDepthFunc) X(glDepthMask) X(glDepthRange) X(glDisable) X(glDisableClientState)             \
    X(glDrawArrays) X(glDrawElements) X(glDrawPixels) X(glEnable) X(glEnableClientState)           \
    X(glEnd) X(glFeedbackBuffer) X(glFinish) X(glFlush) X(glFrustum) X(glGenTextures)              \
    X(glGetDoublev) X(glGetError) X(glGetIntegerv) X(glGetString) X(glHint) X(glIsTexture)         \
    X(glLineWidth) X(glLoadIdentity) X(glLoadMatrixd) X(glMatrixMode) X(glMultMatrixd)             \
    X(glOrtho) X(glPassThrough) X(glPixelStorei) X(glPixelZoom) X(glPointSize)                     \
    X(glPolygonOffset) X(glPopAttrib) X(glPopClientAttrib) X(glPopMatrix) X(glPushAttrib)          \
    X(glPushClientAttrib) X(glPushMatrix) X(glRasterPos2i) X(glReadPixels) X(glRenderMode)         \
    X(glRotatef) X(glScaled) X(glScissor) X(glShadeModel) X(glTexCoord1f) X(glTexCoord2f)          \
    X(glTexCoordPointer) X(glTexEnvi) X(glTexImage1D) X(glTexImage2D) X(glTexParameteri)           \
    X(glTexSubImage2D) X(glTranslatef) X(glVertex2d) X(glVertex2f) X(glVertex2i) X(glVertex3d)     \
    X(glVertex3dv) X(glVertex3f) X(glVertex3fv) X(glVertexPointer) X(glViewport)

#define QUIVRA_OSMESA_FUNCTIONS(X)                                                                 \
    X(OSMesaCreateContextExt) X(OSMesaDestroyContext) X(OSMesaGetColorBuffer)                      \
    X(OSMesaGetCurrentContext) X(OSMesaGetProcAddress) X(OSMesaMakeCurrent) X(OSMesaPixelStore)
// clang-format on

namespace osmesaapi {

#define QUIVRA_DECLARE_POINTER(name) extern decltype(&::name) p_##name;
QUIVRA_GL_FUNCTIONS(QUIVRA_DECLARE_POINTER)
QUIVRA_OSMESA_FUNCTIONS(QUIVRA_DECLARE_POINTER)
#undef QUIVRA_DECLARE_POINTER

// GLU's gluProject: object coordinates through the model-view and projection matrices
// (column-major, as GL returns them) into window coordinates; false when w is 0.
GLint Project(GLdouble objX, GLdouble objY, GLdouble objZ, const GLdouble model[16],
              const GLdouble proj[16], const GLint view[4], GLdouble* winX, GLdouble* winY,
              GLdouble* winZ);
// GLU's gluPerspective: multiplies the current matrix by that perspective.
void Perspective(GLdouble fovY, GLdouble aspect, GLdouble zNear, GLdouble zFar);

} // namespace osmesaapi

#ifndef QUIVRA_OSMESA_API_DEFINITIONS
#define gluProject osmesaapi::Project
#define gluPerspective osmesaapi::Perspective
#define glAlphaFunc osmesaapi::p_glAlphaFunc
#define glBegin osmesaapi::p_glBegin
#define glBindTexture osmesaapi::p_glBindTexture
#define glBitmap osmesaapi::p_glBitmap
#define glBlendFunc osmesaapi::p_glBlendFunc
#define glClear osmesaapi::p_glClear
#define glClearColor osmesaapi::p_glClearColor
#define glColor3d osmesaapi::p_glColor3d
#define glColor3f osmesaapi::p_glColor3f
#define glColor3fv osmesaapi::p_glColor3fv
#define glColor3ub osmesaapi::p_glColor3ub
#define glColor4f osmesaapi::p_glColor4f
#define glColor4fv osmesaapi::p_glColor4fv
#define glColor4ub osmesaapi::p_glColor4ub
#define glColorMask osmesaapi::p_glColorMask
#define glColorPointer osmesaapi::p_glColorPointer
#define glDeleteTextures osmesaapi::p_glDeleteTextures
#define glDepthFunc osmesaapi::p_glDepthFunc
#define glDepthMask osmesaapi::p_glDepthMask
#define glDepthRange osmesaapi::p_glDepthRange
#define glDisable osmesaapi::p_glDisable
#define glDisableClientState osmesaapi::p_glDisableClientState
#define glDrawArrays osmesaapi::p_glDrawArrays
#define glDrawElements osmesaapi::p_glDrawElements
#define glDrawPixels osmesaapi::p_glDrawPixels
#define glEnable osmesaapi::p_glEnable
#define glEnableClientState osmesaapi::p_glEnableClientState
#define glEnd osmesaapi::p_glEnd
#define glFeedbackBuffer osmesaapi::p_glFeedbackBuffer
#define glFinish osmesaapi::p_glFinish
#define glFlush osmesaapi::p_glFlush
#define glFrustum osmesaapi::p_glFrustum
#define glGenTextures osmesaapi::p_glGenTextures
#define glGetDoublev osmesaapi::p_glGetDoublev
#define glGetError osmesaapi::p_glGetError
#define glGetIntegerv osmesaapi::p_glGetIntegerv
#define glGetString osmesaapi::p_glGetString
#define glHint osmesaapi::p_glHint
#define glIsTexture osmesaapi::p_glIsTexture
#define glLineWidth osmesaapi::p_glLineWidth
#define glLoadIdentity osmesaapi::p_glLoadIdentity
#define glLoadMatrixd osmesaapi::p_glLoadMatrixd
#define glMatrixMode osmesaapi::p_glMatrixMode
#define glMultMatrixd osmesaapi::p_glMultMatrixd
#define glOrtho osmesaapi::p_glOrtho
#define glPassThrough osmesaapi::p_glPassThrough
#define glPixelStorei osmesaapi::p_glPixelStorei
#define glPixelZoom osmesaapi::p_glPixelZoom
#define glPointSize osmesaapi::p_glPointSize
#define glPolygonOffset osmesaapi::p_glPolygonOffset
#define glPopAttrib osmesaapi::p_glPopAttrib
#define glPopClientAttrib osmesaapi::p_glPopClientAttrib
#define glPopMatrix osmesaapi::p_glPopMatrix
#define glPushAttrib osmesaapi::p_glPushAttrib
#define glPushClientAttrib osmesaapi::p_glPushClientAttrib
#define glPushMatrix osmesaapi::p_glPushMatrix
#define glRasterPos2i osmesaapi::p_glRasterPos2i
#define glReadPixels osmesaapi::p_glReadPixels
#define glRenderMode osmesaapi::p_glRenderMode
#define glRotatef osmesaapi::p_glRotatef
#define glScaled osmesaapi::p_glScaled
#define glScissor osmesaapi::p_glScissor
#define glShadeModel osmesaapi::p_glShadeModel
#define glTexCoord1f osmesaapi::p_glTexCoord1f
#define glTexCoord2f osmesaapi::p_glTexCoord2f
#define glTexCoordPointer osmesaapi::p_glTexCoordPointer
#define glTexEnvi osmesaapi::p_glTexEnvi
#define glTexImage1D osmesaapi::p_glTexImage1D
#define glTexImage2D osmesaapi::p_glTexImage2D
#define glTexParameteri osmesaapi::p_glTexParameteri
#define glTexSubImage2D osmesaapi::p_glTexSubImage2D
#define glTranslatef osmesaapi::p_glTranslatef
#define glVertex2d osmesaapi::p_glVertex2d
#define glVertex2f osmesaapi::p_glVertex2f
#define glVertex2i osmesaapi::p_glVertex2i
#define glVertex3d osmesaapi::p_glVertex3d
#define glVertex3dv osmesaapi::p_glVertex3dv
#define glVertex3f osmesaapi::p_glVertex3f
#define glVertex3fv osmesaapi::p_glVertex3fv
#define glVertexPointer osmesaapi::p_glVertexPointer
#define glViewport osmesaapi::p_glViewport
#define OSMesaCreateContextExt osmesaapi::p_OSMesaCreateContextExt
#define OSMesaDestroyContext osmesaapi::p_OSMesaDestroyContext
#define OSMesaGetColorBuffer osmesaapi::p_OSMesaGetColorBuffer
#define OSMesaGetCurrentContext osmesaapi::p_OSMesaGetCurrentContext
#define OSMesaGetProcAddress osmesaapi::p_OSMesaGetProcAddress
#define OSMesaMakeCurrent osmesaapi::p_OSMesaMakeCurrent
#define OSMesaPixelStore osmesaapi::p_OSMesaPixelStore
#endif
