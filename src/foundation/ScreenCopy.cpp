#include "foundation/ScreenCopy.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/OpenGL.hpp>
#include <SFML/Window/Context.hpp>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif
#ifndef GL_READ_FRAMEBUFFER
#define GL_READ_FRAMEBUFFER 0x8CA8
#define GL_DRAW_FRAMEBUFFER 0x8CA9
#endif
#ifndef GL_READ_FRAMEBUFFER_BINDING
#define GL_READ_FRAMEBUFFER_BINDING 0x8CAA
#endif
#ifndef GL_COLOR_ATTACHMENT0
#define GL_COLOR_ATTACHMENT0 0x8CE0
#endif
#ifndef GL_LOWER_LEFT
#define GL_LOWER_LEFT 0x8CA1
#define GL_UPPER_LEFT 0x8CA2
#endif
#ifndef GL_NEGATIVE_ONE_TO_ONE
#define GL_NEGATIVE_ONE_TO_ONE 0x935E
#endif
#ifndef GL_FRAMEBUFFER_COMPLETE
#define GL_FRAMEBUFFER_COMPLETE 0x8CD5
#endif

namespace {

// The entry points past OpenGL 1.1 come from the context, as the library's own do.
struct Gl {
    void (*texImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*);
    void (*bindTexture)(GLenum, GLuint);
    void (*getIntegerv)(GLenum, GLint*);
    void (*finish)();
    void (*genFramebuffers)(GLsizei, GLuint*);
    void (*deleteFramebuffers)(GLsizei, const GLuint*);
    void (*bindFramebuffer)(GLenum, GLuint);
    void (*framebufferTexture2D)(GLenum, GLenum, GLenum, GLuint, GLint);
    GLenum (*checkFramebufferStatus)(GLenum);
    void (*blitFramebuffer)(GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield, GLenum);
    void (*clipControl)(GLenum, GLenum); // optional: only upright drawing needs it

    bool complete() const {
        return texImage2D && bindTexture && getIntegerv && finish && genFramebuffers && deleteFramebuffers &&
               bindFramebuffer && framebufferTexture2D && checkFramebufferStatus && blitFramebuffer;
    }
};

template <class F>
void load(F& f, const char* name) {
    f = reinterpret_cast<F>(sf::Context::getFunction(name));
}

// Looked up with a context active, once.
const Gl& gl() {
    static const Gl functions = [] {
        Gl g{};
        load(g.texImage2D, "glTexImage2D");
        load(g.bindTexture, "glBindTexture");
        load(g.getIntegerv, "glGetIntegerv");
        load(g.finish, "glFinish");
        load(g.genFramebuffers, "glGenFramebuffers");
        load(g.deleteFramebuffers, "glDeleteFramebuffers");
        load(g.bindFramebuffer, "glBindFramebuffer");
        load(g.framebufferTexture2D, "glFramebufferTexture2D");
        load(g.checkFramebufferStatus, "glCheckFramebufferStatus");
        load(g.blitFramebuffer, "glBlitFramebuffer");
        load(g.clipControl, "glClipControl");
        return g;
    }();
    return functions;
}

// Read framebuffers whose picture went while their window's context was not the active one: a
// framebuffer can only be deleted in its own context, so each waits for its context's next copy.
// One of a context that has gone since went with it.
std::vector<std::pair<sf::Uint64, GLuint>>& orphanedReadBuffers() {
    // Never freed: it may be reached while the program's statics are torn down at exit.
    static auto* orphans = new std::vector<std::pair<sf::Uint64, GLuint>>();
    return *orphans;
}

void deleteOrphansOfActiveContext() {
    auto& orphans = orphanedReadBuffers();
    if (orphans.empty()) return;
    const sf::Uint64 active = sf::Context::getActiveContextId();
    std::erase_if(orphans, [&](const std::pair<sf::Uint64, GLuint>& orphan) {
        if (orphan.first != active) return false;
        gl().deleteFramebuffers(1, &orphan.second);
        return true;
    });
}

} // namespace

ScreenCopySource::~ScreenCopySource() { releaseReadBuffer(); }

void ScreenCopySource::releaseReadBuffer() {
    if (readBuffer_ != 0) {
        // While it is there the renderer keeps the picture's pixels, whatever becomes of the texture.
        if (sf::Context::getActiveContextId() == readContext_) gl().deleteFramebuffers(1, &readBuffer_);
        else orphanedReadBuffers().emplace_back(readContext_, readBuffer_);
    }
    readBuffer_ = 0;
    readWindow_ = nullptr;
    readContext_ = 0;
}

bool ScreenCopySource::create(unsigned width, unsigned height) {
    ready_ = false;
    releaseReadBuffer();
    if (!target_.create(width, height) || !target_.setActive(true) || !gl().complete()) return false;
    // The same texture, stored BGRA: the layout the window has and the copy needs.
    gl().bindTexture(GL_TEXTURE_2D, target_.getTexture().getNativeHandle());
    gl().texImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0,
                    GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    gl().bindTexture(GL_TEXTURE_2D, 0);
    target_.setActive(false);
    width_ = width;
    height_ = height;
    ready_ = true;
    return true;
}

sf::View ScreenCopySource::view() const {
    const float w = static_cast<float>(width_), h = static_cast<float>(height_);
    return sf::View(sf::FloatRect(0, h, w, -h));
}

bool ScreenCopySource::beginUpright() {
    if (!ready_ || !gl().clipControl || !target_.setActive(true)) return false;
    target_.setView(target_.getDefaultView());
    // Clip state belongs to the context, which the target may share with the window.
    gl().clipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    return true;
}

void ScreenCopySource::endUpright() {
    if (target_.setActive(true)) gl().clipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
}

void ScreenCopySource::finishDrawing() {
    target_.display();
    // The target may have its own context: its pixels must be in place before the window's
    // context copies them.
    if (target_.setActive(true)) gl().finish();
}

bool ScreenCopySource::attach(sf::RenderWindow& window) {
    if (readWindow_ == &window && readBuffer_ != 0) return true;
    if (!ready_ || !window.setActive(true)) return false;
    return attachToActive(window);
}

bool ScreenCopySource::attachToActive(sf::RenderWindow& window) {
    releaseReadBuffer();
    GLuint buffer = 0;
    gl().genFramebuffers(1, &buffer);
    gl().bindFramebuffer(GL_READ_FRAMEBUFFER, buffer);
    gl().framebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                              target_.getTexture().getNativeHandle(), 0);
    const bool ok = gl().checkFramebufferStatus(GL_READ_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    gl().bindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    if (!ok) {
        gl().deleteFramebuffers(1, &buffer);
        return false;
    }
    readBuffer_ = buffer;
    readWindow_ = &window;
    readContext_ = sf::Context::getActiveContextId();
    return true;
}

void ScreenCopySource::copyTo(sf::RenderWindow& window, Point from, Point size, Point to) {
    if (readWindow_ != &window || readBuffer_ == 0 || !window.setActive(true)) return;
    // A window opened where a closed one was has a context of its own.
    if (sf::Context::getActiveContextId() != readContext_ && !attachToActive(window)) return;
    deleteOrphansOfActiveContext();
    const int windowWidth = static_cast<int>(window.getSize().x), windowHeight = static_cast<int>(window.getSize().y);
    // Clip to both pictures.
    auto clip = [&](int& a, int& b, int& n, int limitA, int limitB) {
        if (a < 0) { n += a; b -= a; a = 0; }
        if (b < 0) { n += b; a -= b; b = 0; }
        n = std::min({n, limitA - a, limitB - b});
    };
    int w = size.x, h = size.y;
    clip(from.x, to.x, w, static_cast<int>(width_), windowWidth);
    clip(from.y, to.y, h, static_cast<int>(height_), windowHeight);
    if (w <= 0 || h <= 0) return;
    gl().bindFramebuffer(GL_READ_FRAMEBUFFER, readBuffer_);
    // Picture rows are stored top first (drawn upside down); the window counts from its bottom.
    gl().blitFramebuffer(from.x, from.y, from.x + w, from.y + h, to.x, windowHeight - to.y, to.x + w,
                         windowHeight - to.y - h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    gl().bindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}

namespace {

using GlSwitch = void (*)(GLenum);
using GlScissor = void (*)(GLint, GLint, GLsizei, GLsizei);

// The scissor's entry points, looked up once.
struct Scissor {
    GlSwitch enable = nullptr, disable = nullptr;
    GlScissor scissor = nullptr;
};

const Scissor& scissorFunctions() {
    static const Scissor functions = [] {
        Scissor s;
        load(s.enable, "glEnable");
        load(s.disable, "glDisable");
        load(s.scissor, "glScissor");
        return s;
    }();
    return functions;
}

} // namespace

bool windowClipsToRectangles(sf::RenderWindow& window) {
    const Scissor& s = scissorFunctions();
    return s.enable && s.disable && s.scissor && window.setActive(true);
}

ScissorScope::ScissorScope(const sf::RenderWindow& window, sf::IntRect area) {
    const Scissor& s = scissorFunctions();
    s.enable(GL_SCISSOR_TEST);
    // The window counts its rows from the bottom.
    s.scissor(area.left, static_cast<GLint>(window.getSize().y) - area.top - area.height, area.width, area.height);
}

ScissorScope::~ScissorScope() { scissorFunctions().disable(GL_SCISSOR_TEST); }

bool readAlphaIsClear(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return true;
    using ReadPixels = void (*)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
    static const auto readPixels = reinterpret_cast<ReadPixels>(sf::Context::getFunction("glReadPixels"));
    if (!readPixels) return false;
    static std::vector<std::uint8_t> strip;
    strip.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
    readPixels(x, y, width, height, GL_BGRA, GL_UNSIGNED_BYTE, strip.data());
    for (std::size_t i = 3; i < strip.size(); i += 4)
        if (strip[i] != 0) return false;
    return true;
}
