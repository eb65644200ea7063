// Movies: a file of the game folder played over the picture by the host's player. The timer
// gives it a grace period, then ends it when the player stops; a click ends it too.
#include <filesystem>

#include "shell/engine.h"
#include "sound/movie_path.h"

namespace torvel {

namespace {
// Timer ticks before the end of a movie is looked at and a click may end it.
constexpr int kMovieGraceTicks = 20;
// Ending waits this long before stopping the player, and at most this long for it to stop.
constexpr int kMovieStopDelayMs = 50;
constexpr uint32_t kMovieStopTimeoutMs = 2000;

}  // namespace

int TForm1::CmdMovie(std::string_view arg) {
  PlayMovie(arg);
  return 0;
}

bool TForm1::PlayMovie(std::string_view path) {
  if (sound.movie.playing) return false;
  const std::filesystem::path file = MovieFileInGame(GameDir(), path);
  if (file.empty()) return false;
  if (!host.PlayMovie(file)) {
    sound.movie.playing = false;
    return false;
  }
  sound.movie.path = file.string();
  sound.movie.graceTicks = kMovieGraceTicks;
  sound.movie.playing = true;
  return true;
}

bool TForm1::MovieTick() {
  MovieState& movie = sound.movie;
  if (!movie.playing) return false;
  if (movie.graceTicks > 1) {
    --movie.graceTicks;
  } else if (movie.graceTicks == 1 && !host.MoviePlaying()) {
    EndMovie();
  }
  return true;
}

void TForm1::EndMovie() {
  MovieState& movie = sound.movie;
  if (!movie.playing || movie.graceTicks != 1) return;
  movie.graceTicks = 0;  // also keeps a tick or click delivered below from ending it again
  host.Sleep(kMovieStopDelayMs);
  host.StopMovie();
  // A player that does not stop at once gets a bounded time to do so.
  const uint32_t start = host.TickCount();
  while (host.MoviePlaying() && host.TickCount() - start < kMovieStopTimeoutMs) {
    host.PumpMessages();
    host.Sleep(1);
    host.StopMovie();
  }
  movie.playing = false;
  movie.path.clear();
  if (!layers.screen.Empty()) host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
}

}  // namespace torvel
