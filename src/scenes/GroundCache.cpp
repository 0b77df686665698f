#include "scenes/GroundCache.hpp"

#include "foundation/DrawBatch.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "game/TileKind.hpp"
#include "scenes/Scene.hpp"
#include "scenes/SceneDrawGeometry.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <tuple>
#include <unordered_map>

namespace {

// A piece is about 480 pixels square: small enough that few cells are drawn in vain when the view
// first reaches it, large enough that a row takes few copies.
constexpr int PIECE_PIXELS = 480;
// Twenty pieces cover the screen at any view; the rest keep the places walked through lately.
constexpr std::size_t MAX_PIECES = 40;

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// What a piece still lacks: the ground quads by texture, drawn as the long way draws a row's
// ground, then what stands on the cells (each cell's in the frame's order).
struct Missing {
    std::map<const sf::Texture*, sf::VertexArray> ground;
    std::vector<std::pair<const TileKind*, Point>> tileObjects; // the cell and its place in the piece
    // The object, its row and the view that puts its cell where the piece holds it.
    std::vector<std::tuple<const SceneObject*, int, Point>> sceneObjects;
};

void drawLacking(ScreenCopySource& picture, const Missing& lacking, int T) {
    const float Tf = static_cast<float>(T);
    sf::RenderTexture& target = picture.target();
    target.setView(picture.view());
    for (const auto& [texture, quads] : lacking.ground) drawGroundBatch(target, quads, *texture);
    for (const auto& [kind, at] : lacking.tileObjects)
        drawTileExtras(*kind, target, static_cast<float>(at.x * T), static_cast<float>(at.y * T), Tf, nullptr,
                       ObjectPart::InCell);
    for (const auto& [object, row, view] : lacking.sceneObjects)
        object->draw(target, row, view, nullptr, ObjectPart::InCell);
    picture.finishDrawing();
}

// What of a kind's cell a piece can keep: its opaque ground texture, and the object standing on
// it. Objects are kept at the two sizes where each of their pixels is one texel, whichever part
// of the picture is drawn, and only on whole pixels within their own column.
struct Kept {
    const sf::Texture* ground = nullptr;
    const sf::Texture* object = nullptr;
    bool wide = false; // the object reaches over the neighbouring columns
};

// A scene has few kinds and many cells: each kind's textures are looked up once a frame.
class KeptKinds {
public:
    explicit KeptKinds(int cellSize) : T(cellSize) {}
    const Kept& of(const TileKind& kind) {
        auto known = kinds_.find(&kind);
        if (known != kinds_.end()) return known->second;
        Kept k;
        k.ground = batchableTileTexture(kind, static_cast<float>(T));
        if (k.ground && (kind.colour.a != 255 || !textureIsOpaque(*k.ground))) k.ground = nullptr;
        if (!kind.object.empty()) {
            const sf::Vector2u full = resources->getObjectTexture(kind.object).getSize();
            // A sign's board and words may reach past the column too.
            k.wide = full.x > static_cast<unsigned>(TILE_SIZE) || !kind.houseSign.empty();
            if (k.ground && (T == TILE_SIZE || 2 * T == TILE_SIZE) && kind.houseSign.empty() && full.y > 0 && !k.wide) {
                k.object = T == TILE_SIZE ? &resources->getObjectTexture(kind.object)
                                          : &resources->getHalfObjectTexture(kind.object);
                if (k.object->getSize().x % 2 != 0) k.object = nullptr;
            }
        }
        return kinds_.emplace(&kind, k).first->second;
    }

private:
    const int T;
    std::unordered_map<const TileKind*, Kept> kinds_;
};

} // namespace

GroundCache& groundCache() {
    // Never destroyed: its pictures belong to the graphics contexts, which may already be gone
    // when the program's statics are torn down at exit.
    static GroundCache* cache = new GroundCache;
    return *cache;
}

Point GroundCache::cellInPiece(int x, int y) const {
    return {x - floorDiv(x, pieceCells_) * pieceCells_, y - floorDiv(y, pieceCells_) * pieceCells_};
}

GroundCache::Piece* GroundCache::pieceFor(int x, int y) {
    const std::pair<int, int> place{floorDiv(x, pieceCells_), floorDiv(y, pieceCells_)};
    if (auto it = placed_.find(place); it != placed_.end()) {
        it->second->used = frame_;
        return it->second;
    }
    // A picture left over from the last zoom first: making one costs more than drawing into it.
    Piece* piece = nullptr;
    for (const auto& p : pieces_)
        if (!piece && p->cells.empty()) piece = p.get();
    if (!piece && pieces_.size() < MAX_PIECES) {
        auto made = std::make_unique<Piece>();
        const unsigned side = static_cast<unsigned>(pieceCells_ * cellSize_);
        if (!made->picture.create(side, side)) {
            unavailable_ = true;
            return nullptr;
        }
        pieces_.push_back(std::move(made));
        piece = pieces_.back().get();
    } else if (!piece) {
        // The piece shown longest ago, never one this frame copies from.
        for (const auto& p : pieces_)
            if (p->used != frame_ && (!piece || p->used < piece->used)) piece = p.get();
        if (!piece) return nullptr;
        placed_.erase(piece->place);
    }
    piece->place = place;
    piece->cells.assign(static_cast<std::size_t>(pieceCells_ * pieceCells_), Cell{});
    piece->used = frame_;
    placed_[place] = piece;
    return piece;
}

void GroundCache::forget() {
    // The pictures stay for the next pieces of the same size; what they hold is drawn again.
    for (const auto& p : pieces_) p->cells.clear();
    placed_.clear();
    cellSize_ = 0;
}

bool GroundCache::prepare(const Scene& scene, sf::RenderWindow& window, Point view, Point first, Point last,
                          bool (*groundLeftOut)(const Scene&, int, int)) {
    ++frame_;
    const int T = displayTileSize;
    if (T <= 0 || unavailable_) return false;
    if (T != cellSize_) {
        // Another zoom: every piece is drawn again at its size.
        forget();
        cellSize_ = T;
        pieceCells_ = std::max(1, PIECE_PIXELS / T);
        const unsigned side = static_cast<unsigned>(pieceCells_ * T);
        if (!pieces_.empty() && pieces_.front()->picture.target().getSize() != sf::Vector2u(side, side))
            pieces_.clear();
    }
    first_ = {std::max(0, first.x), std::max(0, first.y)};
    columns_ = std::min(scene.mapWidth() - 1, last.x) - first_.x + 1;
    rows_ = std::min(scene.mapHeight() - 1, last.y) - first_.y + 1;
    view_ = view;
    kept_.assign(static_cast<std::size_t>(std::max(0, columns_) * std::max(0, rows_)), 0);
    if (columns_ <= 0 || rows_ <= 0) return true;

    const float Tf = static_cast<float>(T);
    std::map<Piece*, Missing> missing;
    KeptKinds keptKinds(T);
    std::vector<std::vector<const SceneObject*>> onCell(static_cast<std::size_t>(columns_));
    for (int row = 0; row < rows_; ++row) {
        const int y = first_.y + row;
        // What stands in a row is kept only where nothing of the row reaches over another column,
        // so no part of the row drawn before it in the frame can lie over it.
        bool tileObjectsKept = true;
        for (int column = 0; column < columns_; ++column)
            tileObjectsKept = tileObjectsKept && !keptKinds.of(scene.tileKindAtCell(first_.x + column, y)).wide;
        // The row's objects come after all its tile objects in the frame.
        bool sceneObjectsKept = tileObjectsKept;
        for (auto& list : onCell) list.clear();
        if (auto it = scene.objectRows.find(y); it != scene.objectRows.end())
            for (int i : it->second) {
                const SceneObject& o = scene.objects[static_cast<std::size_t>(i)];
                if (!o.keptInCell()) sceneObjectsKept = false;
                else if (const int column = static_cast<int>(o.x) - first_.x; column >= 0 && column < columns_)
                    onCell[static_cast<std::size_t>(column)].push_back(&o);
            }
        for (int column = 0; column < columns_; ++column) {
            const int x = first_.x + column;
            const TileKind& kind = scene.tileKindAtCell(x, y);
            const Kept& known = keptKinds.of(kind);
            if (!known.ground || groundLeftOut(scene, x, y)) continue;
            const sf::Texture* object = tileObjectsKept ? known.object : nullptr;
            // The cell's scene objects come after its tile object in the frame: kept only with it.
            const std::vector<const SceneObject*>* objects =
                sceneObjectsKept && (object || kind.object.empty()) && !onCell[static_cast<std::size_t>(column)].empty()
                    ? &onCell[static_cast<std::size_t>(column)]
                    : nullptr;
            Piece* piece = pieceFor(x, y);
            // Too many pieces at once, or none can be made or read here: cells already marked
            // as held were never drawn, so nothing kept can be trusted.
            if (!piece || !piece->picture.attach(window)) {
                forget();
                return false;
            }
            Cell cell{known.ground, known.ground->getNativeHandle(), kind.colour.toInteger(), {}};
            if (object) cell.standing.push_back({object, object->getNativeHandle(), 0, 0});
            if (objects)
                for (const SceneObject* o : *objects) {
                    const sf::Texture& t = o->texture();
                    cell.standing.push_back({&t, t.getNativeHandle(), o->colour.toInteger(), o->yOffset});
                }
            const Point at = cellInPiece(x, y);
            Cell& held = piece->cells[static_cast<std::size_t>(at.y * pieceCells_ + at.x)];
            if (held != cell) {
                Missing& lacking = missing[piece];
                sf::VertexArray& quads = lacking.ground[known.ground];
                quads.setPrimitiveType(sf::Quads);
                appendTileQuad(quads, *known.ground, kind.colour, static_cast<float>(at.x * T),
                               static_cast<float>(at.y * T), Tf);
                if (object) lacking.tileObjects.push_back({&kind, at});
                if (objects)
                    for (const SceneObject* o : *objects)
                        lacking.sceneObjects.push_back({o, y, Point{(x - at.x) * T, (y - at.y) * T}});
                held = std::move(cell);
            }
            kept_[static_cast<std::size_t>(row * columns_ + column)] =
                static_cast<char>(1 | (object ? 2 : 0) | (objects ? 4 : 0));
        }
    }
    for (auto& [piece, lacking] : missing) drawLacking(piece->picture, lacking, T);
    return window.setActive(true);
}

bool GroundCache::kept(int x, int y) const { return keptAt(x, y) != 0; }

char GroundCache::keptAt(int x, int y) const {
    const int column = x - first_.x, row = y - first_.y;
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_) return 0;
    return kept_[static_cast<std::size_t>(row * columns_ + column)];
}

bool GroundCache::objectKept(int x, int y) const { return (keptAt(x, y) & 2) != 0; }

bool GroundCache::sceneObjectsKept(int x, int y) const { return (keptAt(x, y) & 4) != 0; }

void GroundCache::copyRow(sf::RenderWindow& window, int y) const {
    const int row = y - first_.y;
    if (row < 0 || row >= rows_) return;
    const int T = cellSize_;
    for (int column = 0; column < columns_;) {
        if (!kept_[static_cast<std::size_t>(row * columns_ + column)]) {
            ++column;
            continue;
        }
        // A run of kept cells within one piece.
        const int x = first_.x + column;
        const std::pair<int, int> place{floorDiv(x, pieceCells_), floorDiv(y, pieceCells_)};
        int length = 1;
        while (column + length < columns_ && kept_[static_cast<std::size_t>(row * columns_ + column + length)] &&
               floorDiv(x + length, pieceCells_) == place.first)
            ++length;
        const auto it = placed_.find(place);
        if (it != placed_.end()) {
            const Point at = cellInPiece(x, y);
            it->second->picture.copyTo(window, {at.x * T, at.y * T}, {length * T, T},
                                       {x * T - view_.x, y * T - view_.y});
        }
        column += length;
    }
}
