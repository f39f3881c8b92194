// Distances through the cave: for every place the ship's centre can be with room to spare,
// the length of the shortest way from there to a target, around the rock.
#pragma once

#include <limits>
#include <vector>

namespace replay {

struct PixelBox {
    int left = 0, top = 0, width = 0, height = 0;
};

class DistanceField {
  public:
    static constexpr double kUnreachable = std::numeric_limits<double>::infinity();
    static constexpr int kStep = 4; // pixels between samples

    // Samples the playfield (pixels) from the collision grid: a sample is open when no wall
    // cell and no blocked box lies within `clearance` pixels of it on either axis.
    DistanceField(int widthPixels, int heightPixels, int clearance,
                  const std::vector<PixelBox>& blocked);

    // Fills the distances to the seeds (pixel points), each starting at the given distance.
    struct Seed {
        double x, y, distance;
    };
    void Solve(const std::vector<Seed>& seeds);

    // Distance from the pixel point to the nearest seed, or kUnreachable.
    double At(double x, double y) const;
    bool Open(double x, double y) const;
    // The shortest distance from any sample within `radius` pixels of the point, counting the
    // step to that sample: for targets that sit too close to rock to be samples themselves.
    double Around(double x, double y, double radius) const;

  private:
    int Index(int sx, int sy) const { return sy * columns_ + sx; }
    bool Inside(int sx, int sy) const { return sx >= 0 && sy >= 0 && sx < columns_ && sy < rows_; }

    int columns_ = 0, rows_ = 0;
    std::vector<unsigned char> open_;
    std::vector<double> distance_;
};

} // namespace replay
