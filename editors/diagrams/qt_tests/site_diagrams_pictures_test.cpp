// Pictures of each diagram and of the array-pattern sheet, for review, in
// build/snapshots/editors/.
#include <QDir>
#include <QTest>

#include "crv/editors/diagrams/qt/diagram_images.h"

using namespace crv::editors;

namespace {
bool save(const QImage& image, const char* name) {
    const QString dir = QString(CRV_SNAPSHOT_DIR) + "editors/";
    QDir().mkpath(dir);
    return !image.isNull() && image.save(dir + name + ".png");
}
DiagramFields fields(int sv, int grid, const char* angle) {
    DiagramFields f;
    f.serviceVolumeType = sv;
    f.runwayHeadingDeg = 275;
    f.fieldElevationFt = 420;
    f.runwayLengthFt = 9000;
    f.serviceVolumeRadiusNmi = 40;
    f.serviceVolumeHeightFt = 10000;
    f.gridType = grid;
    f.gridAltitudeFt = 2420;
    f.gridAngleText = angle;
    return f;
}
}  // namespace

class SiteDiagramPictures : public QObject {
    Q_OBJECT
private slots:
    void outlines() {
        // Box sizes at 15 twips to the pixel, drawn twice as large for review.
        const crv::common::PlotSurface sv{272, 288}, grid{432, 192};
        struct {
            const char* name;
            int sv;
        } volumes[] = {{"sv_ils_standard", 0}, {"sv_tls", 4}, {"sv_vor_terminal", 5}, {"sv_com", 8}};
        for (const auto& v : volumes) {
            const auto out = DrawServiceVolumeDiagram(fields(v.sv, 1, ""), sv);
            QVERIFY(out);
            QVERIFY(save(diagramImage(*out), v.name));
        }
        struct {
            const char* name;
            int sv, grid;
            const char* angle;
        } grids[] = {{"grid_ils_bottom_with_radial", 0, 6, "280"},
                     {"grid_ils_user_altitude", 0, 3, ""},
                     {"grid_tls_user_altitude", 4, 3, ""},
                     {"grid_vor_radial_90", 5, 7, "90"},
                     {"grid_com_altitude", 8, 3, ""}};
        for (const auto& g : grids) {
            const auto out = DrawGridDiagram(fields(g.sv, g.grid, g.angle), grid);
            QVERIFY(out);
            const QImage image = diagramImage(*out);
            QVERIFY(save(image, g.name));
        }
    }

    void arrayPatterns() {
        QVERIFY(ShowArrayPattern(1, QSize(148, 104)).isNull());
        QVERIFY(ShowArrayPattern(32, QSize(148, 104)).isNull());
        QVERIFY(save(ShowArrayPattern(0, QSize(296, 208)), "array_pattern_default"));
        QVERIFY(save(ShowArrayPattern(31, QSize(296, 208)), "array_pattern_31"));
        QVERIFY(save(arraySheetImage(15, 15), "array_pattern_sheet"));
    }
};

QTEST_MAIN(SiteDiagramPictures)
#include "site_diagrams_pictures_test.moc"
