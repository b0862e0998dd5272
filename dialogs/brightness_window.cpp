#include "dialogs/brightness_window.h"

#include "optics/picture.h"
#include "optics/whole_stone.h"
#include "stone/materials.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace {
using namespace optics;

constexpr int CoarseSize = 64, FineSize = 256; // pixels across the picture
constexpr int CoarseSupersampling = 1, FineSupersampling = 2;
constexpr long long CoarseRays = 2000; // the first figures, shown while the fine ones are traced
constexpr double FineError = 0.001;    // the final figures: within 0.2 points at two standard errors
constexpr long long FineFirstRays = 4000;
constexpr long long CurveRays = 1500; // rays for each point of the tilt curves
constexpr int MostTilt = 30;          // degrees either way, as the tilt curves go
constexpr double LowestIndex = 1.01, HighestIndex = 4;
constexpr double BranchLength = 0.25; // light leaving the stone is drawn this many stone widths long
constexpr int DefaultWidth = 900, DefaultHeight = 720;
constexpr const char* TypedIndex = "Typed index";
constexpr const char* DefaultMaterial = "quartz";

QImage ToQImage(const Image& image) {
    return QImage(image.Rgb.data(), image.Width, image.Height, 3 * image.Width, QImage::Format_RGB888).copy();
}

QString Percent(const Estimate& e) {
    return QString("%1 % ± %2").arg(100 * e.Value, 0, 'f', 1).arg(100 * e.Error, 0, 'f', 2);
}

// The picture, square in the middle of the widget; a press of the left button reports the point of
// the picture under it (0 ... 1 from the left and from the top).
class PictureWidget : public QWidget {
  public:
    std::function<void(double, double)> Clicked;

    void SetImage(const QImage& image) {
        image_ = image;
        update();
    }
    void SetMark(std::optional<QPointF> mark) {
        mark_ = mark;
        update();
    }
    QSize sizeHint() const override { return {340, 340}; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        const QRect square = Square();
        if (!image_.isNull()) painter.drawImage(square, image_);
        if (!mark_) return;
        const QPointF at(square.left() + mark_->x() * square.width(),
                         square.top() + mark_->y() * square.height());
        painter.setPen(QPen(Qt::red, 2));
        painter.drawLine(at - QPointF(6, 0), at + QPointF(6, 0));
        painter.drawLine(at - QPointF(0, 6), at + QPointF(0, 6));
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QRect square = Square();
        const double u = (event->position().x() - square.left()) / square.width();
        const double v = (event->position().y() - square.top()) / square.height();
        if (event->button() == Qt::LeftButton && Clicked && u >= 0 && u <= 1 && v >= 0 && v <= 1)
            Clicked(u, v);
    }

  private:
    QRect Square() const {
        const int side = std::min(width(), height());
        return {(width() - side) / 2, (height() - side) / 2, side, side};
    }
    QImage image_;
    std::optional<QPointF> mark_;
};

// ISO and COS against the tilt on both axes, the tilt of the slider marked.
class TiltPlot : public QWidget {
  public:
    void Set(const std::vector<TiltPoint>& along, const std::vector<TiltPoint>& across, double tilt) {
        along_ = along, across_ = across, tilt_ = tilt;
        update();
    }
    QSize sizeHint() const override { return {340, 180}; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), Qt::white);
        const QRectF plot = QRectF(rect()).adjusted(34, 8, -8, -20);
        double low = 1;
        for (const auto* curve : {&along_, &across_})
            for (const TiltPoint& p : *curve)
                low = std::min({low, p.Iso.Value, p.Cos.Value});
        low = std::floor(std::min(low, 0.9) * 10) / 10; // whole tens of percent up to 100 %
        auto x = [&](double angle) {
            return plot.left() + (angle + MostTilt) / (2 * MostTilt) * plot.width();
        };
        auto y = [&](double value) { return plot.bottom() - (value - low) / (1 - low) * plot.height(); };
        painter.setPen(QColor(220, 220, 220));
        for (int angle = -MostTilt; angle <= MostTilt; angle += 10)
            painter.drawLine(QPointF(x(angle), plot.top()), QPointF(x(angle), plot.bottom()));
        for (double value = low; value <= 1.0001; value += 0.1)
            painter.drawLine(QPointF(plot.left(), y(value)), QPointF(plot.right(), y(value)));
        painter.setPen(Qt::black);
        painter.drawRect(plot);
        for (double value = low; value <= 1.0001; value += 0.1)
            painter.drawText(QPointF(2, y(value) + 4), QString("%1%").arg(std::lround(100 * value)));
        for (int angle = -MostTilt; angle <= MostTilt; angle += 10)
            painter.drawText(QPointF(x(angle) - 8, height() - 4), QString("%1°").arg(angle));
        const QColor colours[] = {QColor(30, 90, 200), QColor(220, 110, 20)};
        for (int axis = 0; axis < 2; ++axis)
            for (Sky sky : {Sky::Iso, Sky::Cos}) {
                QPolygonF line;
                for (const TiltPoint& p : axis == 0 ? along_ : across_)
                    line << QPointF(x(p.Angle), y(sky == Sky::Iso ? p.Iso.Value : p.Cos.Value));
                painter.setPen(QPen(colours[axis], 1.5, sky == Sky::Iso ? Qt::SolidLine : Qt::DashLine));
                painter.drawPolyline(line);
            }
        painter.setPen(QPen(Qt::red, 1));
        painter.drawLine(QPointF(x(tilt_), plot.top()), QPointF(x(tilt_), plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(plot.adjusted(4, 0, 0, -2), Qt::AlignLeft | Qt::AlignBottom,
                         "ISO solid, COS dashed; blue along, orange across index 0");
    }

  private:
    std::vector<TiltPoint> along_, across_;
    double tilt_ = 0;
};

// A line of the path view: from A to B in the stone's space, drawn in a colour.
struct Stroke {
    Vec3 A, B;
    QColor Colour;
};

// The stone's edges and the ray's path seen from the side (across the tilt axis) and from the top.
class PathWidget : public QWidget {
  public:
    void Set(std::vector<Stroke> stone, std::vector<Stroke> light, double axisAzimuth) {
        stone_ = std::move(stone), light_ = std::move(light);
        across_ = {-std::sin(axisAzimuth), std::cos(axisAzimuth), 0};
        update();
    }
    QSize sizeHint() const override { return {340, 170}; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), QColor(20, 20, 28));
        const double half = width() / 2.0;
        Panel(painter, QRectF(0, 0, half, height()), "side",
              [&](const Vec3& p) { return QPointF(Dot(p, across_), p.z); });
        Panel(painter, QRectF(half, 0, half, height()), "top",
              [](const Vec3& p) { return QPointF(p.x, p.y); });
    }

  private:
    template <typename Project>
    void Panel(QPainter& painter, const QRectF& area, const QString& title, Project project) {
        painter.setPen(QColor(200, 200, 200));
        painter.drawText(area.adjusted(4, 2, 0, 0), title);
        if (stone_.empty()) return;
        QRectF box;
        for (const Stroke& s : stone_)
            for (const Vec3& p : {s.A, s.B})
                box = box.isNull() ? QRectF(project(p), QSizeF(1e-9, 1e-9))
                                   : box.united(QRectF(project(p), QSizeF()));
        const double margin = 0.3 * std::max(box.width(), box.height()); // room for the light that leaves
        box.adjust(-margin, -margin, margin, margin);
        const double scale = std::min(area.width() / box.width(), area.height() / box.height());
        auto at = [&](const Vec3& p) {
            const QPointF q = project(p);
            // Up is +z in the side view and +y in the top view.
            return QPointF(area.center().x() + (q.x() - box.center().x()) * scale,
                           area.center().y() - (q.y() - box.center().y()) * scale);
        };
        painter.save();
        painter.setClipRect(area);
        for (const auto* strokes : {&stone_, &light_})
            for (const Stroke& s : *strokes) {
                painter.setPen(QPen(s.Colour, strokes == &light_ ? 1.8 : 1));
                painter.drawLine(at(s.A), at(s.B));
            }
        painter.restore();
    }
    std::vector<Stroke> stone_, light_;
    Vec3 across_{0, 1, 0};
};

// How strongly a part of the light is drawn: faint parts stay visible.
QColor Faded(QColor colour, double weight) {
    colour.setAlphaF(static_cast<float>(std::clamp(0.2 + 0.8 * std::sqrt(weight), 0.0, 1.0)));
    return colour;
}
} // namespace

// Runs the latest trace on a thread of its own: a new one raises the cancel flag of the one under way,
// which the tracer checks between rows.
class TBrightnessWindow::Job {
  public:
    using Work = std::function<void(const std::atomic<bool>& cancel)>;
    explicit Job(std::shared_ptr<std::atomic<int>> cancelled)
        : cancelled_(std::move(cancelled)), worker_([this] { Run(); }) {}
    ~Job() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            quit_ = true;
            cancel_ = true;
        }
        wake_.notify_one();
        worker_.join();
    }
    void Start(Work work) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            next_ = std::move(work);
            cancel_ = true;
        }
        wake_.notify_one();
    }

  private:
    void Run() {
        for (;;) {
            Work work;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [&] { return quit_ || next_; });
                if (quit_) return;
                work = std::move(next_);
                next_ = nullptr;
                cancel_ = false;
            }
            work(cancel_);
            if (cancel_) ++*cancelled_;
        }
    }
    std::shared_ptr<std::atomic<int>> cancelled_;
    std::mutex mutex_;
    std::condition_variable wake_;
    Work next_;
    std::atomic<bool> cancel_ = false;
    bool quit_ = false;
    std::thread worker_; // last: it starts once the rest is made
};

// What a trace delivers, stage by stage.
struct TBrightnessWindow::Result {
    enum class Kind { Picture, CoarseFigures, Figures, Curves, Done } What = Kind::Done;
    QImage Picture;
    Figures Traced;
    std::vector<TiltPoint> Along, Across;
};

TBrightnessWindow::TBrightnessWindow(DesignHost& host)
    : QDialog(host.DialogParent()), host_(host), job_(std::make_unique<Job>(cancelled_)) {
    setWindowTitle("Brightness");
    setModal(false);
    BuildLayout();
    resize(DefaultWidth, DefaultHeight);
    host_.FollowDesign(*this, [this] {
        if (isVisible()) DesignChanged(false);
    });
}

TBrightnessWindow::~TBrightnessWindow() {
    job_.reset(); // the trace stops before the widgets it reports to go
}

void TBrightnessWindow::BuildLayout() {
    MaterialBox = new QComboBox;
    for (const ::Material& m : ::Materials())
        MaterialBox->addItem(QString::fromStdString(m.Name));
    MaterialBox->addItem(TypedIndex);
    IndexBox = new QDoubleSpinBox;
    IndexBox->setRange(LowestIndex, HighestIndex);
    IndexBox->setDecimals(4);
    IndexBox->setSingleStep(0.01);
    IndexBox->setKeyboardTracking(false);
    LightBox = new QComboBox;
    LightBox->addItems({"ISO", "COS"});
    AxisBox = new QComboBox;
    AxisBox->addItems({"along index 0", "across index 0"});
    TiltSlider = new QSlider(Qt::Horizontal);
    TiltSlider->setRange(-MostTilt, MostTilt);
    TiltLabel = new QLabel;
    StoneLabel = new QLabel;
    StoneLabel->setWordWrap(true);
    FiguresLabel = new QLabel;
    FiguresLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    FiguresLabel->setMinimumWidth(220);
    PathLabel = new QLabel("Click the picture to follow a ray through the stone.");
    PathLabel->setWordWrap(true);
    auto* picture = new PictureWidget;
    picture->Clicked = [this](double u, double v) {
        clicked_ = {u, v};
        TracePath(u, v);
    };
    Picture = picture;
    Curves = new TiltPlot;
    PathView = new PathWidget;

    auto* controls = new QFormLayout;
    controls->addRow("Material", MaterialBox);
    controls->addRow("Refractive index", IndexBox);
    controls->addRow("Light", LightBox);
    controls->addRow("Tilt axis", AxisBox);
    controls->addRow(TiltLabel, TiltSlider);
    auto* grid = new QGridLayout(this);
    grid->addWidget(StoneLabel, 0, 0, 1, 2);
    auto* side = new QVBoxLayout;
    side->addLayout(controls);
    side->addWidget(FiguresLabel);
    side->addStretch();
    grid->addWidget(Picture, 1, 0);
    grid->addLayout(side, 1, 1);
    grid->addWidget(Curves, 2, 0);
    grid->addWidget(PathView, 2, 1);
    grid->addWidget(PathLabel, 3, 0, 1, 2);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);

    const ::Material* quartz = ::FindMaterial(DefaultMaterial);
    MaterialBox->setCurrentIndex(quartz ? static_cast<int>(quartz - ::Materials().data()) : 0);
    MaterialChosen(MaterialBox->currentIndex());
    connect(MaterialBox, &QComboBox::currentIndexChanged, this, [this](int row) {
        MaterialChosen(row);
        Restart();
    });
    connect(IndexBox, &QDoubleSpinBox::valueChanged, this, [this] {
        IndexTyped();
        Restart();
    });
    connect(LightBox, &QComboBox::currentIndexChanged, this, [this] { Restart(false); });
    connect(AxisBox, &QComboBox::currentIndexChanged, this, [this] { Restart(false); });
    connect(TiltSlider, &QSlider::valueChanged, this, [this] { Restart(false); });
    TiltLabel->setText("Tilt 0°");
}

void TBrightnessWindow::MaterialChosen(int row) {
    if (row < 0 || row >= static_cast<int>(::Materials().size())) return; // a typed index stays as typed
    const QSignalBlocker quiet(IndexBox);
    IndexBox->setValue(static_cast<double>(::Materials()[row].RefractiveIndex));
}

void TBrightnessWindow::IndexTyped() {
    const int row = MaterialBox->currentIndex();
    const auto materials = ::Materials();
    if (row >= 0 && row < static_cast<int>(materials.size()) &&
        std::fabs(static_cast<double>(materials[row].RefractiveIndex) - IndexBox->value()) < 5e-5)
        return;
    const QSignalBlocker quiet(MaterialBox);
    MaterialBox->setCurrentIndex(MaterialBox->count() - 1);
}

double TBrightnessWindow::TiltAxis() const {
    return AxisBox->currentIndex() == 0 ? AlongIndexZero : AcrossIndexZero;
}

void TBrightnessWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    DesignChanged(true);
}

void TBrightnessWindow::DesignChanged(bool always) {
    Stone stone;
    FileResult made;
    std::optional<TracedStone> traced;
    try {
        made = MakeStoneOf(host_.Design(), host_.PartnerHalf(), stone);
        if (made) traced = TracedStoneOf(stone);
    } catch (const std::exception& problem) {
        made = FileResult::Failure(problem.what());
    }
    // The sheet is repainted for a zoom or a pan too: the trace goes on while the stone is the same.
    auto samePlane = [](const StoneFace& a, const StoneFace& b) {
        return a.FacePlane.Normal == b.FacePlane.Normal && a.FacePlane.Dist == b.FacePlane.Dist &&
               a.Half == b.Half;
    };
    if (!always && traced && untilted_ && stone.Corners == stone_.Corners &&
        std::equal(stone.Faces.begin(), stone.Faces.end(), stone_.Faces.begin(), stone_.Faces.end(),
                   samePlane))
        return;
    stone_ = std::move(stone);
    untilted_ = std::move(traced);
    stoneProblem_ = QString::fromStdString(made.Error().Message);
    Restart();
}

void TBrightnessWindow::ClearShown(const QString& why) {
    StoneLabel->setText(why);
    static_cast<PictureWidget*>(Picture)->SetImage({});
    static_cast<PictureWidget*>(Picture)->SetMark(std::nullopt);
    FiguresLabel->clear();
    along_.clear(), across_.clear();
    static_cast<TiltPlot*>(Curves)->Set({}, {}, 0);
    path_.clear();
    static_cast<PathWidget*>(PathView)->Set({}, {}, 0);
    shown_.reset();
    done_ = true;
    job_->Start([](const std::atomic<bool>&) {}); // stops the trace of the design that was
}

void TBrightnessWindow::Restart(bool curves) {
    ++generation_;
    done_ = false;
    figures_.reset();
    curvesWanted_ = curvesWanted_ || curves;
    options_.RefractiveIndex = IndexBox->value();
    const int tilt = TiltSlider->value();
    TiltLabel->setText(QString("Tilt %1°").arg(tilt));

    if (!untilted_) return ClearShown(stoneProblem_);
    const TGem* partner = host_.PartnerHalf();
    const QString partnerName = QFileInfo(QString::fromStdString(host_.PartnerFile())).fileName();
    QString which = !partner ? QString("This half alone, closed by the girdle plane")
                    : partnerName.isEmpty()
                        ? QString("Whole stone: this design and its partner half")
                        : QString("Whole stone: this design and its partner %1").arg(partnerName);
    if (!partner && !host_.PartnerProblem().empty())
        which += QString(" (%1)").arg(QString::fromStdString(host_.PartnerProblem()));
    StoneLabel->setText(which);
    const double axis = Radians(TiltAxis());
    shown_ = tilt == 0 ? *untilted_ : untilted_->Tilted(axis, Radians(tilt));
    if (curvesWanted_) along_.clear(), across_.clear();
    static_cast<TiltPlot*>(Curves)->Set(along_, across_, tilt);
    FiguresLabel->setText("Tracing ...");
    if (clicked_) TracePath(clicked_->first, clicked_->second);

    const int generation = generation_;
    auto post = [this, generation](Result result) {
        QMetaObject::invokeMethod(
            this, [this, generation, result = std::move(result)] { Take(generation, result); },
            Qt::QueuedConnection);
    };
    const Sky sky = LightBox->currentIndex() == 0 ? Sky::Iso : Sky::Cos;
    job_->Start([post, stone = *shown_, untilted = *untilted_, options = options_, sky,
                 curves = curvesWanted_](const std::atomic<bool>& cancel) {
        using Kind = Result::Kind;
        const Image coarse =
            BrightnessPicture(stone, options, {CoarseSize, sky, CoarseSupersampling, &cancel});
        if (cancel) return;
        post({Kind::Picture, ToQImage(coarse), {}, {}, {}});
        const Figures first = ComputeFigures(stone, options, {CoarseRays, 1, &cancel});
        if (cancel) return;
        post({Kind::CoarseFigures, {}, first, {}, {}});
        const Image fine = BrightnessPicture(stone, options, {FineSize, sky, FineSupersampling, &cancel});
        if (cancel) return;
        post({Kind::Picture, ToQImage(fine), {}, {}, {}});
        const Figures final = ComputeFiguresWithin(stone, options, FineError, 1, FineFirstRays, &cancel);
        if (cancel) return;
        post({Kind::Figures, {}, final, {}, {}});
        if (curves) {
            const Sampling sampling{CurveRays, 1, &cancel};
            std::vector<TiltPoint> along = TiltCurve(untilted, options, sampling, AlongIndexZero);
            std::vector<TiltPoint> across = TiltCurve(untilted, options, sampling, AcrossIndexZero);
            if (cancel) return;
            post({Kind::Curves, {}, {}, std::move(along), std::move(across)});
        }
        post({});
    });
}

void TBrightnessWindow::Take(int generation, const Result& result) {
    if (generation != generation_) return; // a trace of a design or controls that are gone
    using Kind = Result::Kind;
    switch (result.What) {
    case Kind::Picture:
        static_cast<PictureWidget*>(Picture)->SetImage(result.Picture);
        break;
    case Kind::CoarseFigures:
    case Kind::Figures:
        figures_ = result.Traced;
        ShowFigures(result.What == Kind::Figures);
        break;
    case Kind::Curves:
        along_ = result.Along, across_ = result.Across;
        curvesWanted_ = false;
        static_cast<TiltPlot*>(Curves)->Set(along_, across_, TiltSlider->value());
        break;
    case Kind::Done:
        done_ = true;
        break;
    }
}

void TBrightnessWindow::ShowFigures(bool final) {
    const Figures& f = *figures_;
    QString text =
        QString("ISO %1\nCOS %2\nwindowing %3\nlost %4\nouter reflection %5\n")
            .arg(Percent(f.Iso), Percent(f.Cos), Percent(f.Windowed), Percent(f.Lost), Percent(f.Outer));
    text += QString("n = %1, tilt %2°, %3 rays")
                .arg(options_.RefractiveIndex, 0, 'f', 4)
                .arg(TiltSlider->value())
                .arg(f.Rays);
    if (!final) text += "\nrefining ...";
    FiguresLabel->setText(text);
}

void TBrightnessWindow::TracePath(double u, double v) {
    if (!shown_) return;
    const Tracer tracer(*shown_, options_);
    double x0, y0, side;
    tracer.Outline(x0, y0, side);
    const Ray ray = tracer.EyeRay(x0 + u * side, y0 + side - v * side); // the top of the picture is +y
    path_.clear();
    const RayOutcome outcome = tracer.Trace(ray, &path_);
    static_cast<PictureWidget*>(Picture)->SetMark(QPointF(u, v));

    const double axis = Radians(TiltAxis()), tilt = Radians(TiltSlider->value());
    auto turned = [&](const Vector3& p) {
        return untilted_->TiltedPoint({double(p.x), double(p.y), double(p.z)}, axis, tilt);
    };
    std::vector<Stroke> edges;
    for (const StoneEdge& e : stone_.Edges)
        edges.push_back(
            {turned(stone_.Corners[e.CornerA]), turned(stone_.Corners[e.CornerB]), QColor(120, 120, 140)});
    std::vector<Stroke> light;
    const double reach = BranchLength * shown_->Width();
    int reflections = 0;
    if (!path_.empty()) {
        light.push_back({path_[0].Point + reach * Vec3{0, 0, 1}, path_[0].Point, Qt::white});
        std::optional<PathStep> inside;
        for (const PathStep& step : path_) {
            const Vec3 end = step.Point + reach * step.Direction;
            switch (step.Event) {
            case PathEvent::OuterReflection:
                light.push_back({step.Point, end, Faded(QColor(255, 230, 120), step.Weight)});
                break;
            case PathEvent::Leave: {
                const bool returned =
                    shown_->Planes()[step.Plane].Side != Half::Pavilion && step.Direction.z > 0;
                light.push_back(
                    {step.Point, end,
                     Faded(returned ? QColor(255, 230, 120) : QColor(60, 120, 255), step.Weight)});
                break;
            }
            case PathEvent::Reflect:
            case PathEvent::TotalReflect:
                ++reflections;
                [[fallthrough]];
            case PathEvent::Enter:
            case PathEvent::CutOff:
                if (inside)
                    light.push_back(
                        {inside->Point, step.Point, Faded(QColor(255, 255, 255), inside->Weight)});
                inside = step;
                break;
            }
        }
    }
    static_cast<PathWidget*>(PathView)->Set(std::move(edges), std::move(light), axis);
    if (!outcome.Hit) {
        PathLabel->setText("The ray misses the stone.");
        return;
    }
    PathLabel->setText(QString("This ray: returned %1 %, windowed %2 %, outer reflection %3 %, lost %4 %; "
                               "%5 reflections inside (yellow: light towards the sky, blue: windowed)")
                           .arg(100 * outcome.Returned, 0, 'f', 1)
                           .arg(100 * outcome.Windowed, 0, 'f', 1)
                           .arg(100 * outcome.Outer, 0, 'f', 1)
                           .arg(100 * outcome.Lost, 0, 'f', 2)
                           .arg(reflections));
}
