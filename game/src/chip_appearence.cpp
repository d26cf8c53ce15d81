#include "chip_appearence.h"

#include <cmath>

#include "animation.h"
#include "chip.h"
#include "chip_selector.h"
#include "game_field.h"
#include "move_hint.h"
#include "random.h"
#include "random_seed.h"

namespace {

constexpr int SHUFFLE_ATTEMPTS = 5;
constexpr int SHUFFLE_TRIES = 50;

float length(const VQ::Vector2f& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y);
}

// The chips of the play rows in reading order.
template <typename Body>
void forEachBoardChip(GameField* field, Body body)
{
    for (int row = 1; row <= field->lastRow(); ++row)
        for (int column = 0; column < field->columnCount(); ++column)
            if (FieldCell* cell = field->cellAt(column, row); cell && cell->chip)
                body(cell->chip);
}

}  // namespace

ChipAppearence::~ChipAppearence() = default;

void ChipAppearence::clearEntries()
{
    entries.clear();
}

void ChipAppearence::addEntry(Chip* chip, const std::vector<float>& durations, const std::vector<VQ::Vector2f>& keys)
{
    auto entry = std::make_unique<Entry>();
    entry->chip = chip;
    entry->position = VQ::Vector2f(chip->x, chip->y);
    entry->animation = std::make_unique<VQ::Animation>();
    VQ::Animation& animation = *entry->animation;
    animation.smooth = true;
    animation.bindVector2("position", &entry->position);
    for (float duration : durations)
        animation.addFrame(duration);
    for (unsigned i = 0; i < keys.size(); ++i)
        *animation.vector2KeyAt("position", i) = keys[i];
    entries.push_back(std::move(entry));
}

void ChipAppearence::update(float dt)
{
    for (size_t i = 0; i < entries.size();) {
        Entry& entry = *entries[i];
        entry.animation->update(dt);
        entry.chip->x = entry.position.x;
        entry.chip->y = entry.position.y;
        if (entry.animation->isFinished())
            entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

bool ChipAppearence::isFinished() const
{
    for (const auto& entry : entries)
        if (!entry->animation->isFinished())
            return false;
    return true;
}

void ChipAppearenceCross::apply(GameField* field)
{
    clearEntries();
    const float W = static_cast<float>(field->gridWidth);
    const float H = static_cast<float>(field->gridHeight + 1);
    const float a = 0.25f / speed;
    const VQ::Vector2f middle(W / 2.0f, H / 2.0f);
    forEachBoardChip(field, [&](Chip* chip) {
        const VQ::Vector2f p(chip->x, chip->y);
        const float ratio = length(VQ::Vector2f(middle.x - p.x, middle.y - p.y)) / length(middle);
        const bool left = p.x < W / 2.0f;
        const bool top = p.y < H / 2.0f;
        const VQ::Vector2f start(left ? -W : 2.0f * W, top ? -H : 2.0f * H);
        const VQ::Vector2f corner(left ? 0.0f : W, top ? 0.0f : H);
        addEntry(chip, {ratio * ratio * a, 0.5f / speed, 0.25f / speed}, {start, corner, p});
    });
}

void ChipAppearenceLine::apply(GameField* field)
{
    clearEntries();
    const float W = static_cast<float>(field->gridWidth);
    const float H = static_cast<float>(field->gridHeight + 1);
    if (H <= 1.0f)
        return;
    const float a = 0.25f / speed;
    const float step = a / (W * H);
    float wait = 0.0f;
    const VQ::Vector2f above(W / 2.0f, -H / 2.0f);
    const VQ::Vector2f topCentre(W / 2.0f, 0.0f);
    forEachBoardChip(field, [&](Chip* chip) {
        addEntry(chip, {wait, step, a, 0.0f}, {above, above, topCentre, VQ::Vector2f(chip->x, chip->y)});
        wait += (2.0f * a + step) / 100.0f;
    });
}

void ChipMixing::apply(GameField* field)
{
    seedRandomFromCounter();
    for (int attempt = 0; attempt < SHUFFLE_ATTEMPTS; ++attempt) {
        clearEntries();
        std::vector<FieldCell*> cells;
        std::vector<Chip*> pool;
        for (int row = 1; row <= field->lastRow(); ++row) {
            for (int column = 0; column < field->columnCount(); ++column) {
                FieldCell* cell = field->cellAt(column, row);
                Chip* chip = cell ? cell->chip : nullptr;
                if (chip && chip->layers.size() == 1 && chip->layers.top()->type == BEHAVIOR_SIMPLE) {
                    cells.push_back(cell);
                    pool.push_back(chip);
                }
            }
        }
        for (FieldCell* cell : cells) {
            const int left = static_cast<int>(pool.size());
            int k = 0;
            for (int tries = 0; tries < SHUFFLE_TRIES; ++tries) {
                k = VQ::rand() % left;
                Chip* chip = pool[static_cast<size_t>(k)];
                cell->chip = chip;
                chip->x = cell->column + 0.5f;
                chip->y = cell->row + 0.5f;
                const ChipSelection selection = chip->selector ? chip->selector->select(field, chip) : ChipSelection();
                const bool line = selection.rowRun.size() >= 3 || selection.columnRun.size() >= 3;
                if (!line || left == 1)
                    break;
            }
            addMoveAnimation(field, pool[static_cast<size_t>(k)], cell->column, cell->row);
            pool[static_cast<size_t>(k)] = pool.back();
            pool.pop_back();
        }
        FieldCell* pair[2] = {nullptr, nullptr};
        field->moveHint->findMove(pair);
        if (pair[0])
            break;
    }
}

void ChipMixing::addMoveAnimation(GameField* field, Chip* chip, int column, int row)
{
    const float W = static_cast<float>(field->gridWidth);
    const float H = static_cast<float>(field->gridHeight + 1);
    const VQ::Vector2f p(chip->x, chip->y);
    const float dx = std::fabs(p.x - W) / W;
    const float dy = std::fabs(p.y - H) / H;
    const VQ::Vector2f side(p.x < W / 2.0f ? -1.0f : W + 1.0f, H / 2.0f);
    const VQ::Vector2f home(column + 0.5f, row + 0.5f);
    addEntry(chip,
             {dx * dy * speed * 0.95f + 0.025f, speed * 0.25f, speed * 0.175f, speed * 0.125f, 0.25f, 0.25f, 0.0f},
             {p, VQ::Vector2f(p.x, H + 5.0f), side, VQ::Vector2f(side.x, -1.0f), VQ::Vector2f(W / 2.0f, -1.0f), home,
              home});
}
