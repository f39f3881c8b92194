// Distances through the cave: for every place where the ship's centre may be by the pilot's
// rules, the length of the shortest way from there to a target, around the rock.
#pragma once

#include <functional>
#include <limits>
#include <vector>

namespace replay {

// The places the ship's centre may take, sampled every kStep pixels over the playfield.
class OpenMap {
  public:
    static constexpr int kStep = 4; // pixels between samples

    // `open` tells for a pixel point whether the ship's centre may be there.
    OpenMap(int widthPixels, int heightPixels, const std::function<bool(int, int)>& open);

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    bool Inside(int sx, int sy) const { return sx >= 0 && sy >= 0 && sx < columns_ && sy < rows_; }
    int Index(int sx, int sy) const { return sy * columns_ + sx; }
    bool OpenSample(int i) const { return open_[std::size_t(i)] != 0; }
    bool Open(double x, double y) const;

  private:
    int columns_ = 0, rows_ = 0;
    std::vector<unsigned char> open_;
};

class DistanceField {
  public:
    static constexpr double kUnreachable = std::numeric_limits<double>::infinity();
    static constexpr int kStep = OpenMap::kStep;

    explicit DistanceField(const OpenMap& map);

    // Fills the distances to the seeds (pixel points), each starting at the given distance.
    struct Seed {
        double x, y, distance;
    };
    void Solve(const std::vector<Seed>& seeds);

    // Distance from the pixel point to the nearest seed, or kUnreachable.
    double At(double x, double y) const;
    bool Open(double x, double y) const { return map_.Open(x, y); }
    // The shortest distance from any sample within `radius` pixels of the point, counting the
    // step to that sample: for targets that sit too close to rock to be samples themselves.
    double Around(double x, double y, double radius) const;

  private:
    const OpenMap& map_;
    std::vector<double> distance_;
};

} // namespace replay
