// Enemy placement: one sprite and one Enemies record per enemy keyword, in file order.
#include "display/fmain.h"
#include "display/sprites.h"
#include "stage/placement.h"
#include "stage/stage.h"

using namespace platform;

Long CreateEnemy(Long kind, Long px, Long py) {
    FMain& f = fMain();
    GrowTable(Enemies, EnemyCount);
    const int n = CreateSprite(f.pEnemy);
    PictureBox& enemy = f.pEnemy[n];
    PlaceOnRange(enemy, px, py);
    enemy.show();
    if (kind == 5) // the dropping rock wears the ground's tile
        BitBlt(enemy.surface(), 0, 0, kCellPixels, kCellPixels, f.pRockDat.surface(), 0, 0,
               SRCCOPY);
    StageObject& record = Enemies[EnemyCount];
    record.Sprite = n;
    record.Kind = kind;
    return EnemyCount++;
}

void BuildEnemy1(Long x, Long y, Long a, Long s) {
    StageObject& e = Enemies[CreateEnemy(1, kCellPixels * x, kCellPixels * y)];
    e.StepY = 0;
    e.StepX = a * s * TwipsX;
}

void BuildEnemy2(Long x, Long y, Long a, Long s) {
    StageObject& e = Enemies[CreateEnemy(2, kCellPixels * x, kCellPixels * y)];
    e.StepY = a * s * TwipsY;
    e.StepX = 0;
}

void BuildEnemy3(Long x, Long y, Long a, Long s) {
    StageObject& e = Enemies[CreateEnemy(3, kCellPixels * x, kCellPixels * y)];
    e.Leg = a;
    e.PathX = {0, s * TwipsX, 0, -s * TwipsX};
    e.PathY = {-s * TwipsY, 0, s * TwipsY, 0};
}

void BuildEnemy4(Long x, Long y, Long a, Long s) {
    StageObject& e = Enemies[CreateEnemy(4, kCellPixels * x, kCellPixels * y)];
    e.Leg = a;
    e.PathX = {0, -s * TwipsX, 0, s * TwipsX};
    e.PathY = {-s * TwipsY, 0, s * TwipsY, 0};
}

void BuildEnemy5(Long x, Long y) {
    StageObject& e = Enemies[CreateEnemy(5, kCellPixels * x, kCellPixels * y)];
    e.StepY = 0;
    e.Col = 0;
    e.Done = kFalse;
    e.Spare = 0;
}
