#pragma once
// TForm1: the engine object. It owns all engine state for the whole run, one struct per
// subsystem, and its operations are defined in the .cpp files of the subsystem that owns them.
// The host calls the framework events (FormCreate, AppIdle, Timer1Timer, PBPaint, the input
// handlers, FormCloseQuery, FormDestroy).
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "devtools/devtools_state.h"
#include "graphics/effect_state.h"
#include "graphics/glyphs.h"
#include "graphics/layers.h"
#include "graphics/small_text.h"
#include "graphics/text_window.h"
#include "platform/host.h"
#include "resources/archives.h"
#include "resources/game_config.h"
#include "resources/player_settings.h"
#include "scenes/cg_viewer.h"
#include "scenes/click_map.h"
#include "scenes/object_control.h"
#include "scenes/recollection.h"
#include "scenes/roll_scripts.h"
#include "scenes/selection_tree.h"
#include "scenes/staff_roll.h"
#include "scenes/title_screens.h"
#include "screens/backlog_state.h"
#include "screens/config_screen_state.h"
#include "screens/dialog_state.h"
#include "screens/global_data_file.h"
#include "screens/page_history.h"
#include "screens/quick_buttons.h"
#include "screens/recollection_records.h"
#include "screens/save_screen_state.h"
#include "screens/save_state.h"
#include "screens/system_menu_state.h"
#include "script/choice_state.h"
#include "script/random.h"
#include "script/script_state.h"
#include "script/text_state.h"
#include "script/variables.h"
#include "shell/display_state.h"
#include "shell/engine_control.h"
#include "shell/input_events.h"
#include "shell/input_state.h"
#include "shell/menu_model.h"
#include "shell/notices.h"
#include "sound/sound_state.h"

namespace torvel {

struct EngineOptions {
  EngineOptions(std::filesystem::path dir = {}, std::optional<uint32_t> randomSeed = {},
                std::optional<bool> dirWritable = {})
      : gameDir(std::move(dir)), seed(randomSeed), gameDirWritable(dirWritable) {}
  std::filesystem::path gameDir;  // the folder that holds the archives
  std::optional<uint32_t> seed;   // random seed; the clock when absent
  // Whether files can be created in gameDir; probed at start-up when absent. Tests set it, since
  // a test run as root could write into any folder.
  std::optional<bool> gameDirWritable;
};

class TForm1 {
 public:
  TForm1(Host& host, EngineOptions options);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // ---- framework events (shell/) ----
  void FormCreate();
  void AppIdle();
  void Timer1Timer();
  void PBPaint();
  bool FormCloseQuery();
  void FormDestroy();
  void PBMouseMove(ShiftState shift, int x, int y);
  void PBMouseDown(MouseButton button, ShiftState shift, int x, int y);
  void PBMouseUp(MouseButton button, ShiftState shift, int x, int y);
  bool FormMouseWheel(ShiftState shift, int delta);  // delta > 0: away from the player
  void FormKeyDown(int& key, ShiftState shift);
  void FormKeyUp(int& key, ShiftState shift);
  void FormKeyPress(char& key);

  // ---- shell operations (shell/) ----
  // Asks the window to close through the closing path (the quit question unless quitRequested).
  void Close();
  // The interpreter waits for the player or has nothing left to run.
  bool WaitsForPlayer() const;
  // The engine state as a JSON object, for the headless host and tests.
  std::string DescribeState() const;
  const std::filesystem::path& GameDir() const { return options.gameDir; }
  std::filesystem::path GamePath(std::string_view name) const { return options.gameDir / std::string(name); }

  // ---- resources (resources/) ----
  void OpenDataArchives();
  void OpenAssetArchives();
  bool LoadScript(std::string_view name, int target);
  // Called by LoadScript with the upper-cased name: the scene flag of a script on the viewer's
  // scene list (VIEW_2) is set before the lookup, also for a script that is missing; recollection
  // learns which script is entered once it is found (scenes/script_entry_hooks.cpp).
  void MarkViewerSceneSeen(std::string_view upperName);
  void NoteRecollectionScript(std::string_view upperName);
  std::string ReadAuxLine(int& position) const;
  bool AuxAtEnd(int position) const { return position >= script.auxSize; }

  // ---- player settings (resources/player_settings.cpp) ----
  // One value of the settings store at MAKER_REG / GAME_ID; missing or not a number reads as
  // the default. Writes go to the store at once.
  int ReadSetting(std::string_view name, int defaultValue);
  std::string ReadSetting(std::string_view name, std::string_view defaultValue);
  void WriteSetting(std::string_view name, int value);
  void WriteSetting(std::string_view name, std::string_view value);
  // `gameclr`: adds one to the completed-games counter, which lives in a fixed place whatever
  // the game's MAKER_REG and GAME_ID, and returns the new count.
  int IncrementCompletedGames();
  // The file that holds this game's settings.
  std::filesystem::path SettingsFile();

  // ---- notices to the player (shell/notices.cpp): troubles the game goes on through, each told
  // once per run ----
  void NoticeSettingsNotSaved(const std::string& reason);
  void NoticeNoJapaneseFont();
  void NoticeScriptTooLarge(std::string_view name);
  bool ScriptRefusedForSize(std::string_view name) const;

  // ---- script (script/) ----
  void Step();
  bool Jump(std::string_view label);
  void CallScript(std::string_view name, std::string_view label);
  void ChainScript(std::string_view name, std::string_view label);
  void ReturnFromScript();
  void WaitReset();
  // Runs one command line; 0 next line, 1 end the step, 2 dispatch the line buffer again.
  int ExecuteCommandLine();
  // Stops skip mode and auto mode before a choice or a screen; unless `always`, only when the
  // BreakonSelect setting asks for it. Nothing happens while the save/load screen is shown.
  void StopSkipAndAuto(bool always);
  // Stops skip mode alone (S060, S061, the quick buttons, skipActive).
  void StopSkip();
  // What `gra` does once its picture change has ended: answers a cut-short request (1) or a
  // close request made during the change (2, the quit question) and returns the command's result.
  int AnswerInterruptAfterPictureChange();

  // ---- command handlers, one per keyword of the command table (script/command_table.cpp).
  // Each takes the command's argument and returns 0 (next line), 1 (end the step) or 2 (run the
  // line buffer again), and lives in the file of the subsystem that owns the command. ----
  // script/commands.cpp, script/special_command.cpp: interpreter control
  int CmdGo(std::string_view arg);
  int CmdChain(std::string_view arg);
  int CmdCalc(std::string_view arg);
  int CmdIf(std::string_view arg);
  int CmdCall(std::string_view arg);
  int CmdEnd(std::string_view arg);
  int CmdLoad(std::string_view arg);
  int CmdGameinit(std::string_view arg);
  int CmdSpecial(std::string_view arg);
  int CmdGameclr(std::string_view arg);
  int CmdMark(std::string_view arg);
  int CmdFix(std::string_view arg);
  int CmdSleep(std::string_view arg);
  int CmdString(std::string_view arg);
  int CmdSave(std::string_view arg);
  int CmdBreak(std::string_view arg);
  int CmdTitle(std::string_view arg);
  int CmdBackto(std::string_view arg);
  int CmdSetname(std::string_view arg);
  int CmdExitgame(std::string_view arg);
  int CmdRec(std::string_view arg);
  int CmdTwSet(std::string_view arg);
  int CmdExit(std::string_view arg);
  int CmdCgfull(std::string_view arg);
  int CmdVend(std::string_view arg);
  int CmdWeb(std::string_view arg);
  // script/choices_select.cpp, script/choices_branch.cpp: blocks and choices
  int CmdSelect(std::string_view arg);
  int CmdSwitch(std::string_view arg);
  int CmdCjmp(std::string_view arg);
  // graphics/picture_commands.cpp: layers and pictures
  int CmdGra(std::string_view arg);
  int CmdClrb(std::string_view arg);
  int CmdSpr(std::string_view arg);
  int CmdPtset(std::string_view arg);
  int CmdMode(std::string_view arg);
  int CmdGrb(std::string_view arg);
  int CmdPartsload(std::string_view arg);
  int CmdBg(std::string_view arg);
  int CmdDirect(std::string_view arg);
  int CmdOvr(std::string_view arg);
  int CmdScroll(std::string_view arg);
  int CmdChar(std::string_view arg);
  int CmdFadein(std::string_view arg);
  int CmdFadeout(std::string_view arg);
  // graphics/transition_commands.cpp, graphics/animation_commands.cpp
  int CmdWipeset(std::string_view arg);
  int CmdAnim(std::string_view arg);
  // graphics/effect_commands.cpp: screen effects
  int CmdBgAnim(std::string_view arg);
  int CmdShake(std::string_view arg);
  int CmdEffect(std::string_view arg);
  int CmdManpu(std::string_view arg);
  int CmdSprmv(std::string_view arg);
  int CmdEfxanim(std::string_view arg);
  // graphics/text_window_commands.cpp: the text window
  int CmdWinClose(std::string_view arg);
  int CmdWinOpen(std::string_view arg);
  // sound/sound_commands.cpp
  int CmdMusic(std::string_view arg);
  int CmdCv(std::string_view arg);
  int CmdWaitVEnd(std::string_view arg);
  int CmdMovie(std::string_view arg);
  int CmdSe(std::string_view arg);
  int CmdSeloop(std::string_view arg);
  int CmdSeoff(std::string_view arg);
  // screens/screen_commands.cpp
  int CmdConfig(std::string_view arg);
  // scenes/scene_commands.cpp
  int CmdClickmap(std::string_view arg);
  int CmdSeltree(std::string_view arg);
  int CmdMap(std::string_view arg);
  int CmdRoll(std::string_view arg);
  int CmdViewer(std::string_view arg);
  int CmdObj(std::string_view arg);
  int CmdSroll(std::string_view arg);
  int CmdKaisou(std::string_view arg);
  int CmdChgprm(std::string_view arg);

  // ---- operations of other subsystems that the commands call; empty until those land ----
  void ClearPage();                                                              // script/message_text.cpp
  void RedrawTextWindow();                                                       // graphics/text_window_commands.cpp
  void DrawStringOnWindow(std::string_view text, int right, int y, int height);  // graphics/text_window_commands.cpp
  void ResetSpriteLayout();                               // graphics/effect_commands.cpp: `sprmv` INIT
  void OpenSaveLoadScreen(int mode);                      // screens/screen_commands.cpp: 0 load, 1 save
  void AskQuestion(std::string_view question, int kind);  // screens/screen_commands.cpp
  void ShowNameEntry();                                   // screens/screen_commands.cpp
  // Blends the quick buttons and the auto-speed gauge over what lies under them (QuickButtonDraw
  // says where they go); screens/quick_buttons.cpp.
  void DrawQuickButtons(int kind);
  void EndViewerReplay();        // scenes/scene_commands.cpp
  void EndRecollectionReplay();  // scenes/scene_commands.cpp
  int CgPictureCount() const;    // scenes/scene_commands.cpp
  void RecordPage();             // screens/page_history_hooks.cpp

  // ---- input (shell/input_*.cpp) ----
  // Saving (the "S" and "Q" keys, the menus' save entries) is allowed once the story has started
  // and while S000 permits it.
  bool SavingAllowed() const;
  // A click on the auto-speed indicator changes the auto speed; true when it took the click.
  bool AutoSpeedIndicatorClick(int x, int y);
  // Ctrl (or Shift with CS_SWAP) pressed and released: skip mode while held.
  void SkipKeyDown();
  void SkipKeyUp();
  // Shift (or Ctrl with CS_SWAP) and Space: auto mode on and off.
  void AutoKeyToggle();
  void SpaceToggleAuto();
  // Up and Down in a window-mode choice list move the pointer onto a choice.
  void MoveChoicePointer(int key);
  void RefreshWindowOrigin();

  // ---- choices (script/choices_*.cpp) ----
  void Select(int preset);
  void HoverChoice(int x, int y);
  void ClickChoice();
  // Takes choice `hoveredChoice` of a list on screen: sound, record, blink, jump.
  void ChooseListed(bool replaying);
  // Jumps into the body of choice `hoveredChoice` (1-based).
  void JumpIntoChoice();
  void DrawChoiceList();
  void ShowChoiceBar(int index, bool highlighted);
  void BlinkChoice(int index, int passes);
  Rect ChoiceBarRect(int index) const;
  int Switch(std::string_view name);
  int ComputedJump(int n);

  // ---- operations of the screens and scenes that input reaches; empty until those land ----
  void RightClickAction();                               // screens/question_hooks.cpp
  bool PanicShown() const;                               // screens/question_hooks.cpp
  void EndPanic();                                       // screens/question_hooks.cpp
  void CloseRightClickMenu();                            // screens/question_hooks.cpp: the menu-open flag
  void DialogHover(int x, int y);                        // screens/question_hooks.cpp
  void DialogClick(MouseButton button, int x, int y);    // screens/question_hooks.cpp
  void OpenBacklog();                                    // screens/backlog_hooks.cpp
  void CloseBacklog();                                   // screens/backlog_hooks.cpp
  void BacklogHover(int x, int y);                       // screens/backlog_hooks.cpp
  void BacklogClick(MouseButton button, int x, int y);   // screens/backlog_hooks.cpp
  void BacklogMouseUp(int x, int y);                     // screens/backlog_hooks.cpp
  void ScrollBacklog(int delta);                         // screens/backlog_hooks.cpp
  void OpenPageHistory();                                // screens/backlog_hooks.cpp
  void LeavePageHistory();                               // screens/backlog_hooks.cpp
  void PageHistoryOlder();                               // screens/backlog_hooks.cpp
  void PageHistoryNewer();                               // screens/backlog_hooks.cpp
  void HideWindow();                                     // screens/backlog_hooks.cpp
  void ShowWindowAgain();                                // screens/backlog_hooks.cpp
  void QuickSave();                                      // screens/save_load_hooks.cpp
  void SaveLoadHover(int x, int y);                      // screens/save_load_hooks.cpp
  void SaveLoadClick(MouseButton button, int x, int y);  // screens/save_load_hooks.cpp
  void SaveLoadMouseUp(int x, int y);                    // screens/save_load_hooks.cpp
  void QuickButtonHover(int x, int y);                   // screens/quick_button_hooks.cpp
  bool QuickButtonClick();                               // screens/quick_button_hooks.cpp
  void OpenConfiguration();                              // screens/configuration_hooks.cpp
  void OpenConfigScreen();
  void ConfigurationHover(int x, int y);                      // screens/configuration_hooks.cpp
  void ConfigurationClick(MouseButton button, int x, int y);  // screens/configuration_hooks.cpp
  void ConfigurationMouseUp(int x, int y);                    // screens/configuration_hooks.cpp
  void StaffRollClick(MouseButton button);                    // scenes/scene_input_hooks.cpp
  void TitleMapHover(int x, int y);                           // scenes/scene_input_hooks.cpp
  void TitleMapClick(MouseButton button, int x, int y);       // scenes/scene_input_hooks.cpp
  void CgViewerHover(int x, int y);                           // scenes/scene_input_hooks.cpp
  void CgViewerClick(MouseButton button, int x, int y);       // scenes/scene_input_hooks.cpp
  void RecollectionHover(int x, int y);                       // scenes/scene_input_hooks.cpp
  void RecollectionClick(MouseButton button, int x, int y);   // scenes/scene_input_hooks.cpp
  void RecollectionMouseUp(int x, int y);                     // scenes/scene_input_hooks.cpp
  void ClickMapHover(int x, int y);                           // scenes/click_map.cpp
  void ClickMapClick();                                       // scenes/click_map.cpp: the confirmation
  void ClickMapRightClick();                                  // scenes/click_map.cpp
  void SelectionTreeHover(int x, int y);                      // scenes/selection_tree.cpp
  void SelectionTreeClick();                                  // scenes/selection_tree.cpp: the confirmation
  void SelectionTreeRightClick();                             // scenes/selection_tree.cpp
  bool FullScreenShown() const;                               // shell/display_mode_hooks.cpp
  void LeaveFullScreen();                                     // shell/display_mode_hooks.cpp
  void ShowToolBarPanel(bool shown);                          // shell/display_mode_hooks.cpp
  void EnterFullScreen();                                     // shell/display_mode_hooks.cpp
  bool BackgroundAnimationRunning() const;                    // graphics/background_animation_hooks.cpp

  // ---- display modes and the window's menus (shell/display_mode_hooks.cpp, shell/menus.cpp) ----
  // The system ended full screen (the window was resized under it): the window for good.
  void OnResizeWhileFullScreen();
  void SetMenuVisible(bool visible);
  void RestoreWindow();
  bool MenuBarShown() const;
  bool ToolBarShown() const;
  static const char* WindowScaleEntry(int scale);
  void SetWindowScale(int scale);
  void SetIntegerScaling(bool on);
  void AppendDisplayState(std::string& out) const;
  // Recomputes which menu entries the play phase allows and hands the menus to the host.
  void UpdateMenus();
  // The busy flag of blocking scenes and screens; the menus follow it.
  void SetMenuLock(bool locked);
  // The player chose an entry of the menu bar or the tool bar: false when it cannot be chosen now
  // (hidden, disabled, or its bar not shown). The commands run in order at the next frame.
  bool ChooseMenuEntry(MenuId menu, std::string_view id);
  void RunPendingMenuCommands();
  void RunMainMenuEntry(std::string_view id);
  void RunToolBarEntry(std::string_view id);
  void ShowQuitPopup();
  void AppendMenuState(std::string& out) const;
  struct PendingMenuCommand {
    MenuId menu;
    std::string id;
  };
  MenuModel menus;
  std::vector<PendingMenuCommand> pendingMenuCommands;
  DisplayState display;

  // ---- graphics: layers and the compositor (graphics/layers.cpp, picture_loader.cpp, sprites.cpp,
  // compositor.cpp, frame_clock.cpp, transitions.cpp, picture_commands.cpp) ----
  // Reads `_sprset` and `_bgset` and exports the composites `_bgset` asks for.
  void LoadPictureDefinitions();
  void ExportCompositeBackgrounds();
  // The scene layers of a new game: no sprites, no overlay, no tint, window mode.
  void ResetSceneLayers();
  // Loads a picture by name from the JPEG archive or the graphic archives; false, with the target
  // unchanged, when no archive has it or it does not decode.
  bool LoadImage(std::string_view name, Bitmap& target);
  bool ImageExists(std::string_view name) const;
  // LoadImage, solid colours ("Srgb") and composites ("#NAME"); true when it failed.
  bool LoadPicture(std::string_view name, Bitmap& target);
  void LoadBackground(std::string_view name);
  void FillSolid(std::string_view name, Bitmap& target);
  void MarkPictureSeen(std::string_view name);
  // Parses a sprite spec into the layout and the cache; returns its transition (0: not shown).
  int SetSprites(std::string_view spec);
  void FillSpriteCache(int counted);
  int AcquireSpriteSlot(const std::string& name, const std::array<bool, kSpriteCacheSlots>& inUse);
  void LoadSpritePicture(std::string_view name, Bitmap& picture, Bitmap& mask);
  void ComposeScene();
  void ComposeScreen();
  void PresentScene(int transition);
  void RunTransition(int transition);
  // ---- graphics: transitions (graphics/transitions.cpp) ----
  void CrossfadeAnimated(int step, int period);
  void CrossfadePreset(int type);
  void Mosaic(const Bitmap& source, int block);
  void DrawShifted(int x, int y);
  bool RunTransitionKind(int kind, int step, int period, int frameMs);
  void DrawOverlay();
  void DrawCompositeSprite(std::string_view name, int centre, int top, std::array<bool, kSpriteCacheSlots>& inUse);
  void StartFrameClock();
  int PaceFrame(int periodMs);
  void WaitUntil(uint32_t tick);
  void ClearSpriteLayers();
  void RecordPictureCommand(PictureCommandRecord& record);
  int ShowPicture(std::string_view argument, bool prepareOnly);
  // Draws a rectangle of `picture` straight onto the window at (x, y), over what it shows.
  void ShowOnWindow(const Bitmap& picture, Rect from, int x, int y, bool keyed);

  // ---- graphics: glyphs (graphics/glyph_output.cpp) ----
  // Selects the play-area font from the settings, empties the glyph cache and fills it again with
  // the external characters of `sys_gaiji` and the common kana and punctuation.
  void ResetGlyphCache();
  void PrepareGlyph(std::string_view bytes);
  void RenderGlyph(uint16_t code);
  void DrawGlyph(Bitmap& bitmap, int x, int y);
  // Draws the prepared glyph onto the screen buffer and shows its cell on the window at once.
  void ShowGlyph(int x, int y);
  void SetTextColour(int code);
  void DrawString(std::string_view text, int x0, Bitmap& bitmap, int code, int y);
  void DrawStringCentred(std::string_view text, int x0, Bitmap& bitmap, int code, int y);
  void DrawStringPitch(std::string_view text, int x0, int pitch, Bitmap& bitmap, int code, int y);
  void RenderLargeGlyph(std::string_view bytes, int size);
  void DrawLargeGlyph(Bitmap& bitmap, int x, int y);

  // ---- message text (script/message_text.cpp, speaker_line.cpp, put_char.cpp, inline_tags.cpp,
  // text_page_ops.cpp, click_waits.cpp) ----
  // The ">" line: the speaker's name plate, or in full-screen text mode the line as text.
  bool ShowSpeakerLine();
  // Places one character on the page and draws it.
  void PutChar(std::string_view character);
  // A character of the large size ("[2]") onto the screen buffer at (x, y); `show` also puts its
  // cell on the window. Cells far off the screen draw nothing.
  void DrawLargeCharacter(std::string_view character, int64_t x, int64_t y, bool show);
  // Clears the page and shows an empty text window.
  void NewPage();
  void StartAutoCountdown();
  // The inline tag at script.linePos ("["); true when the step ends.
  bool RunInlineTag();
  // The ruby text at script.linePos ("<").
  void ShowRuby();

  // ---- graphics: the text window (graphics/text_window.cpp, text_window_commands.cpp,
  // name_plate.cpp, click_wait_icon.cpp, small_text.cpp) ----
  // Position, buffers and pictures of the window; run once at start-up.
  void InitTextWindow();
  void BuildWindowFrame();
  void ComposeWindow();
  // The shown window (or full-screen page) onto the screen buffer, with its text.
  void PasteTextWindow();
  void OpenWindow();
  void CloseWindow();
  void ToggleWindowPosition(bool toggle);
  void DrawNamePlate(std::string_view name);
  // Draws the page onto the screen buffer; `show` also puts each cell on the window.
  void RedrawTextPage(bool show);
  // Puts the empty window back under the text on the screen buffer and the window.
  void EraseTextArea();
  void ClickWaitErase();
  // Draws `text` in the small white ruby font onto the screen buffer and the window.
  void DrawSmallText(std::string_view text, int x, int y);
  // The general text drawer (graphics/small_text.h): any face by name, height, colour, bold and
  // shadow onto any picture; returns the rectangle it may have changed. And the width of a line.
  Rect DrawSystemText(Bitmap& target, std::string_view text, int x, int y, const TextStyle& style);
  int MeasureSystemText(std::string_view text, const TextStyle& style);

  // ---- operations of the subsystems that the frame loop and start-up call ----
  void ReadGameConfiguration();                       // resources/game_config.cpp
  void ReadSettings();                                // resources/player_settings.cpp
  void CreateScreenBuffers();                         // graphics/layers.cpp
  void LoadSystemPictures();                          // graphics/system_pictures.cpp
  bool ShowTextLine();                                // script/message_text.cpp: true when the step ends
  void NewTextRow();                                  // script/message_text.cpp
  void SetSpeaker(std::string_view name);             // script/message_text.cpp
  void BeginClickWait(int kind);                      // script/message_text.cpp
  void RunCalculation(std::string_view assignments);  // script/calculation.cpp
  void ResolveClickWait();                            // script/message_text.cpp
  void AnimateClickWaitIcon();                        // graphics/click_wait_icon.cpp
  void AppendBacklogText(std::string_view text);      // script/backlog_text.cpp
  void CloseBacklogLine();                            // script/backlog_text.cpp
  void InitSoundOutput();                             // sound/sound_service.cpp
  void ServiceSound();                                // sound/sound_service.cpp
  bool VoicePlaying() const;                          // sound/sound_service.cpp
  bool IsVoiceOrEffectPlaying() const;                // sound/sound_service.cpp
  void StopVoice();                                   // sound/sound_service.cpp
  // Plays a voice or system sound by name unless skip mode runs.
  void PlayVoiceLine(std::string_view name);  // sound/sound_service.cpp
  bool MovieTick();                           // sound/sound_service.cpp: true while a movie plays
  void DeferredMusicTick(bool fromPaint);     // sound/sound_service.cpp
  void StopMusic();                           // sound/sound_service.cpp
  // ---- sound: slots, voices, effects, music and movies (sound/) ----
  bool StartSoundDevice();
  void ShutdownSlots();
  void StopAllSlots();
  // Empties a slot: stops it when it plays, then releases its buffer.
  void FreeSlot(int slot);
  // Plays 16-bit PCM once or looping in a slot at a volume, replacing what the slot held.
  bool PlayPcmInSlot(int slot, std::string_view name, int channels, int rate, std::span<const uint8_t> pcm, int volume,
                     bool looping);
  // 0 played or stayed silent by rule, 1 the name is in no archive or the archive failed to open.
  int PlaySoundByName(std::string_view name, int kind);
  bool VoiceExists(std::string_view name) const;
  // The voice and effect volumes and the rest, in the device's units (slider × 2.5).
  int VoiceVolume() const;
  int EffectVolume() const;
  int MusicVolume() const;
  int FourthVolume() const;
  void ApplyVolumes();
  void SetMute(bool on);
  void StopLoopEffect();
  // A voice named by the text ("[cv " tags and `cv`): joins the page's voice list and becomes the
  // last voice.
  void NoteVoiceName(std::string_view name);
  void SetMusic(int v);
  void RestartMusic();
  bool StartMusicTrack(int n);
  void StartMusicStream(const ArchiveIndex& archive, int entry);
  // Streams the type A wave at `offset` of a file, never reading at or past `end`.
  void StreamMusicFrom(const std::filesystem::path& file, uint64_t offset, uint64_t end, std::string_view name,
                       int source);
  // The sound track of an animation: a whole type A wave played once in the animation slot, or a
  // wave of the animation file streamed as the music.
  void PlayAnimationSound(std::span<const uint8_t> wave);
  void PlayAnimationMusic(const std::filesystem::path& file, uint64_t position, uint64_t end);
  void MusicTick();
  void FadeOutMusic(int step);
  // Reads the playing track's bytes at an absolute position of its archive, never past its entry.
  size_t ReadMusic(uint64_t position, std::span<uint8_t> into);
  bool PlayMovie(std::string_view path);
  // Ends the playing movie once its grace ticks are over (a click on it, or its end).
  void EndMovie();
  bool MoviePlaying() const { return sound.movie.playing; }
  // The "sound" object of the state report.
  void AppendSoundState(std::string& out) const;
  void UpdateEffects();                  // graphics/effects.cpp
  void BackgroundAnimationFrame();       // graphics/effects.cpp
  bool SaveGlobalData(int mode);         // screens/global_data.cpp
  GlobalData CollectGlobalData() const;  // screens/global_data.cpp: the blocks of save0.dat in memory
  void LoadGlobalData();                 // screens/global_data.cpp
  void SaveLoadScreenFrame();            // screens/screen_frames.cpp
  void BacklogFrame();                   // screens/screen_frames.cpp
  void QuickButtonHoverTick();           // screens/screen_frames.cpp
  void StaffRollFrame();                 // scenes/scene_frames.cpp
  void StaffRollTick();                  // scenes/scene_frames.cpp
  void TitleMapFrame();                  // scenes/scene_frames.cpp
  void CgViewerFrame();                  // scenes/scene_frames.cpp
  void RecollectionTick();               // scenes/scene_frames.cpp
  void ClickMapTimeoutTick();            // scenes/click_map.cpp

  // ---- saving and loading (screens/save_game.cpp, load_game.cpp, global_data.cpp,
  // save_folder.cpp, banner.cpp, save_report.cpp) ----
  // Writes the running story to slot 1..99 ("save/saveNN.dat", 99 the quick-save slot), then the
  // global data (SaveGlobalData 0). Unless quiet, slots 1..20 play "SSE05" and "セーブしました"
  // shows for 500 ms. True only when every file reached the disk; otherwise
  // "セーブできませんでした" shows for 1000 ms (quiet or not), an old slot file stays as it was and
  // LastSaveSlot is left alone. A successful save of a slot up to 60 becomes LastSaveSlot.
  bool SaveGame(int slot, bool quiet);
  // Restores the story from slot 1..99. A missing file does nothing; a file that cannot be read or
  // that the load refuses (CheckSlotImage) shows "ロードできませんでした" and leaves the game as it
  // was. Slots 1..20 play "SSE06"; unless quiet "ロードします" shows for 300 ms. True when the
  // story was restored.
  bool LoadGame(int slot, bool quiet);
  // The one writer of a slot's comment (up to 30 bytes, cut at a character boundary): rewrites
  // the slot file with the new comment. False when the slot has no file or it was not written.
  bool WriteSlotComment(int slot, std::string_view text);
  // SaveGame with `comment` in the label record, written with the story in one write.
  bool SaveGameWithComment(int slot, bool quiet, std::string_view comment) { return SaveSlot(slot, quiet, comment); }
  // The notification banner over the picture for `ms` milliseconds; the main thread waits for it.
  // The text stays in saves.lastBanner.
  void ShowBanner(std::string_view text, int ms);
  // The bytes of a slot file for the story as it stands, with `comment` in the label record.
  std::vector<uint8_t> BuildSlotImage(std::string_view comment);
  // A slot file read and checked as a load would take it: null when it is missing, unreadable or
  // refused. What it returns has been brought into range.
  std::unique_ptr<SlotImage> ReadSlotForLoad(int slot) const;
  // CheckSlotImage against the scripts of this game's archives.
  bool CheckSlotForLoad(SlotImage& image) const;
  // The folder of "save0.dat", "kaiso.dat" and "save/", chosen at start-up (ChooseSaveFolder).
  const std::filesystem::path& SaveFolder() const;
  std::filesystem::path SlotFile(int slot) const;
  // Uses the game's folder when a file can be created in it; otherwise the per-user data folder
  // of this game, into which the game folder's save files are copied the first time.
  void ChooseSaveFolder(bool copyExisting);
  // The "saveFolder", "saves" and "lastBanner" members of the state report.
  void AppendSaveState(std::string& out) const;
  // Writes several values of the settings store in one write.
  bool WriteSettings(std::span<const std::pair<std::string, std::string>> values);
  // ---- the save and load screen (screens/save_load_screen.cpp, save_load_hooks.cpp) ----
  // Draws the page's plates and texts onto the screen buffer and the highlight canvas.
  void DrawSaveSlots();
  void CloseSaveLoadScreen();
  // After "はい" on the screen's question: 0 saves to the hovered slot, 1 loads from it.
  void ConfirmedSaveLoad(int action);
  // The list window used instead of the screen when SAVE_BG names no picture.
  void ShowSaveLoadList(int mode);  // screens/save_load_list_hooks.cpp
  // The "saveScreen" member of the state report.
  void AppendSaveScreenState(std::string& out) const;
  // ---- graphics: the scene from its names (graphics/scene_rebuild.cpp) ----
  // Loads the background, the overlay (while S035 is set) and the sprites again from the names
  // the layers keep, composes the scene and shows it with `transition`; 0 composes the scene
  // buffer only, for a caller that draws the screen itself (the page history).
  void RebuildScene(int transition);
  // ---- the backlog, the page history and the hidden window (screens/backlog_screen.cpp,
  // backlog_hooks.cpp, page_history_hooks.cpp, window_hiding.cpp, backlog_report.cpp) ----
  // Draws the visible rows, the knob and the highlights; onto the window too.
  void DrawBacklog();
  // Moves the backlog view to `scroll` lines back (kept within its range); redraws and returns
  // true when it moved.
  bool ScrollBacklogTo(int64_t scroll);
  // The ring slot the page-history view shows at position p.
  int PageHistorySlotAt(int position) const;
  void ShowPageHistorySlot(int slot);
  // The "backlog" and "pageHistory" members of the state report.
  void AppendBacklogState(std::string& out) const;
  // ---- the keys that save and load (shell/input_keys.cpp) ----
  // Whether the "Q" key would quick-save, and the "L" key open the load screen, now.
  bool QuickSaveKeyActs() const;
  bool LoadKeyActs() const;

  // ---- special scenes: the selection tree, the click map, objects (scenes/selection_tree.cpp,
  // click_map.cpp, object_control.cpp, scene_choice_report.cpp) ----
  // Reads the `seltree` table; start-up.
  void LoadSelectionTrees();
  void ShowSelectionTree(int n);
  void DrawTreeRow(int column, int row, int entry, Bitmap& normal, Bitmap& highlighted);
  // Takes the menu down without touching the picture (loading, the wait reset).
  void DropSelectionTree();
  // The title's hook: takes the menu down and puts the story's picture back.
  void CloseSelectionTree();
  // Reads the map `name` from a `map` table and the option block at `pc`; the command's result.
  int ShowClickMap(std::span<const uint8_t> table, std::string_view name);
  // A click would choose: an enabled option is under the pointer.
  bool ClickMapReady() const;
  // Takes the map down: no timeout left, the default pointer.
  void EndClickMap();
  // Pointer shape 0 is the default; the click map's colour regions use 29 and up.
  void SetPointerShape(int shape);
  // Object slots and the off-screen buffer as they are at start-up.
  void ResetObjects();
  bool BlendObject(int n, int x, int y, const Bitmap& background, Rect& drawn);
  void ShowObject(int n, int x, int y, bool intoScreen);
  void EraseObject(int n, int x, int y);
  // Waits until `frameMs` after the pacing mark.
  void WaitObjectFrame(int frameMs);
  // The choice-like scenes end with the wait state: no menu, no map, no timeout.
  void ResetSceneChoices();
  void AppendSceneState(std::string& out) const;
  // The sound of a confirmed choice.
  void PlayChoiceSound();

  // ---- staff rolls (scenes/page_roll.cpp, scenes/slide_roll.cpp): the rolls run with their
  // script's text (lines ended by NUL) as `roll` and `sroll` load it ----
  void RunPageRoll(std::string_view body);
  void RunSlideRoll(std::string_view body);
  // The closing path pauses a running roll while the quit question is open and ends it when the
  // player quits.
  void PauseStaffRoll(bool paused);
  void AbortStaffRoll();
  void AppendStaffRollState(std::string& out) const;
  // ---- title-specific screens (scenes/title_map.cpp, scenes/status_screen.cpp) ----
  void InitTitleScreens();   // the status pictures, at start-up
  void OpenStatusScreen();   // the quick button's status screen
  void CloseStatusScreen();  // any click on it
  void CloseTitleMap();      // leaves the destination map without a choice (the return to the title)
  void DrawDayPanel();       // step 4 of ComposeScreen
  void TitleMapPaint();      // PBPaint while the map is up
  void AppendTitleMapState(std::string& out) const;

  // ---- graphics: screen effects and animations (graphics/background_animation.cpp, comic_mark.cpp,
  // animation_player.cpp, effect_report.cpp) ----
  // The title's stop of the background animation: as `bg_anim RELEASE`.
  void StopBackgroundAnimation();
  void EndBackgroundAnimation();
  void LoadAnimationFrame(BackgroundFrame& frame, const std::string& name);
  void BuildOffsetFrame(BackgroundFrame& frame, int blend, int dx, int dy);
  void PlayBackgroundSequenceOnce();
  // Takes the comic-symbol mark off the window (the first step of ComposeScreen).
  void RemoveComicMark();
  // While a background animation runs its frames take the screen buffer's place: the compositor,
  // the text window and the glyph output also draw on every frame.
  void PutAnimationFrameOnScreen();
  void ComposeWindowOverAnimationFrames();
  void PasteWindowOnAnimationFrames();
  void DrawGlyphOnAnimationFrames(int x, int y);
  void DrawNamePlateOnAnimationFrames(std::string_view name);
  // Puts the empty window back on every frame and shows the current one; false when no
  // animation carries the window.
  bool EraseTextOnAnimationFrames();
  // The picture the window shows while nothing animates: the background animation's current frame
  // or the screen buffer.
  const Bitmap& ShownScreenPicture() const;
  // The "animation" and "effects" objects of the state report.
  void AppendAnimationState(std::string& out) const;
  void AppendEffectsState(std::string& out) const;

  // ---- the right-click menu, the yes/no question and the panic screen (screens/system_menu.cpp,
  // question_dialog.cpp, panic_screen.cpp, return_to_title.cpp) ----
  // The right-click menu as it stands now: its entries, separators and which can be chosen.
  PopupMenuModel PopupMenu3() const;
  bool PopupEntryEnabled(std::string_view id) const;
  // What choosing an entry of the right-click menu does; every entry clears the menu-open flag.
  void RunPopupEntry(std::string_view id);
  // Auto mode and skip as the main and pop-up menus start them.
  void StartAutoFromMenu();
  void StartSkipFromMenu();
  // Closes the open question: the picture put back (unless immediate), the menus unlocked, then
  // the action of "はい" when `yes`.
  void CloseQuestion(bool yes, bool immediate);
  void ShowPanic();
  // Ends the story: the text window, the music and every screen and wait reset, and "STITLE"
  // loaded from its start; variables and flags stay.
  void ReturnToTitle();
  // The "dialog", "menuOpen", "menuLock", "panic", "skipActive" and "lastPopup" members of the
  // state report.
  void AppendSystemMenuState(std::string& out) const;

  // ---- the quick buttons (screens/quick_buttons.cpp, quick_button_hooks.cpp) ----
  // The sheets, the gauge pictures and the composite picture; the window's position. Start-up.
  void InitQuickButtons();
  // Hovers the button at `point`, or none when there is no point (the pointer left the picture).
  void HoverQuickButton(std::optional<Point> point);
  // The pressed look of button `index` for a moment.
  void ShowQuickButtonPressed(int index);
  // The "quickButtons" member of the state report.
  void AppendQuickButtonState(std::string& out) const;

  // ---- the configuration screen (screens/config_screen.cpp, config_input.cpp, config_settings.cpp,
  // config_report.cpp) ----
  // Loads the screen's pictures; false when a named CFG_GRA picture does not load.
  bool LoadConfigPictures();
  void DrawConfigScreen();
  void ShowConfigScreen();  // the whole screen buffer onto the window
  // One opening or closing frame (configuration picture in the top v rows) shown on the window.
  void ShowConfigSqueeze(int v);
  void CloseConfigScreen();
  // The engine volume of bar 0 (master) … 3 (music), and setting it from a slider value.
  int ConfigEngineVolume(int bar) const;
  void SetConfigVolume(int bar, int sliderValue);
  void ResetConfigVolumes();
  void RestoreConfigDefaults();
  void WriteConfigSettings();
  void ConfigAction(int code, int x);
  // The "config" and "settings" members of the state report.
  void AppendConfigState(std::string& out) const;

  // ---- the dialog windows (screens/name_entry.cpp, settings_dialog.cpp) ----
  // The settings dialog, modal; each change acts and is stored at once. Its apply step rebuilds
  // the text window and the scene when the text settings changed, takes the text speed and
  // switches the display mode.
  void ShowSettingsDialog();
  void ApplySettingsDialog();

  // ---- the CG viewer and recollection (scenes/cg_viewer*.cpp, scenes/recollection*.cpp,
  // scenes/replay_menu.cpp, scenes/gallery_report.cpp) ----
  // Start-up: the viewer's picture and scene lists, and the recollection scene table.
  void LoadViewerLists();
  void LoadRecollectionTable();
  // Opens a page of `view`; false, with nothing changed, when the table has no such page.
  bool OpenViewerPage(std::string_view name);
  void DrawViewerSet();
  int ViewerHitTest(int x, int y) const;
  Rect ViewerControlRect(int code) const;
  void ShowViewerPicture();
  void EndViewerViewing();
  void ReplayViewerScene(int cell);
  void CloseViewer();
  void SaveScriptPosition(SavedScriptPosition& saved) const;
  void RestoreScriptPosition(const SavedScriptPosition& saved);
  // The replay menu entries: "次シーンへ" and "回想終了" as the menus and the headless input run them.
  void MenuNextScene();
  void MenuEndReplay();
  void SetReplayMenu(bool nextScene, bool endReplay);
  // Recollection.
  void OpenRecollection();
  void DrawRecollectionTabs();
  void DrawRecollectionPage();
  void DrawRecollectionPanel();
  void ShowRecollectionScreen();
  void CloseRecollection();
  void PlayRecollectionQueue(const std::array<int32_t, kRecordPlayListLength>& queue);
  void EndRecollectionScene(bool nextScene);
  void PreviewRecollectionScene(int line);
  void RenameRecordSlot();
  void DropRecollectionDrag(int x, int y);
  // The "D", "C", "viewer", "recollection" and "replayEntries" members of the state report.
  void AppendGalleryState(std::string& out) const;

  // ---- state, one struct per subsystem ----
  Host& host;
  EngineOptions options;
  EngineControl ctl;
  Archives archives;
  GameConfig config;
  PlayerSettings settings;
  ScriptState script;
  VarStore vars;
  RandomGenerator random;
  TextState text;
  Layers layers;
  GlyphRenderer glyphs;
  TextWindow textWindow;
  InputState input;
  ChoiceState choices;
  SoundState sound;
  AnimationStatus animation;
  EffectState effects;
  DialogState dialogs;
  SaveState saves;
  SaveScreenState saveScreen;
  PageHistory pageHistory;
  BacklogViews backlogViews;
  RecollectionRecords recollection;
  SelectionTreeState selectionTree;
  ClickMapState clickMap;
  ObjectState objects;
  Notices notices;
  StaffRoll staffRoll;
  TitleMap titleMap;
  StatusScreen statusScreen;
  CgViewer viewer;
  RecollectionScreen recollectionScreen;
  ReplayMenu replayMenu;
  QuestionState question;
  SystemMenuState systemMenu;
  PanicState panic;
  QuickButtons quickButtons;
  ConfigScreen configScreen;

  // ---- developer tools (devtools/) ----
  DevToolsState devtools;
  // Scans the folder DBG_SCRIPT_PATH of the debug settings into the debug script set and, when
  // the running script has a source there, reads it and its line table.
  void RebuildDebugScriptSet();
  std::filesystem::path DebugSettingsFile();
  // The script editor closed with `tag` as the position to run from: another position clears the
  // page and continues there, kept within the script.
  void ReturnFromScriptEditor(int tag);
  // A developer button: queued, and run between frames, never inside a loop that pumps the
  // window's messages (devtools/dev_buttons.cpp).
  void PressDeveloperButton(DevButton button, std::string argument = {});
  void RunPendingDeveloperButtons();
  // The variable editor: opening asks whether its changes replace save0.dat; closing lets the
  // next global-data write be the last one that stores memory as it is.
  void OpenFlagEditor();
  void CloseFlagEditor();
  // After a change made in the variable editor: S000 and S028 refresh the menus.
  void ApplyVariableEdit(const VarEditResult& result);
  // The scripts of the data archive, upper-case and sorted, as the script selector lists them.
  std::vector<std::string> SelectorScriptNames() const;

 private:
  bool SaveSlot(int slot, bool quiet, std::string_view comment);
  void RunStartupSequence();
  void FirstTick();
  // Shows the start-up failure with `detail` (the file concerned and why) and closes.
  bool FailStartup(const std::string& detail);
  enum class LineResult { Continue, Yield };
  LineResult DispatchLine();
  void FetchLine();
  void SkipBlock();

  // staff rolls
  void RunPageRollCommand(std::string_view keyword, std::string_view arg);
  void ResizePageRollText();
  void RenderPageRollText();
  bool PageRollFade(const Bitmap& target, Rect area, int step);
  void RunSlideRollLine(const SlideRollLine& line);
  void DrawSlidePage(Bitmap& target);
  void ShowSlideBuffer();
  void RunSlideRollFrames(int64_t until);
  void SlideRollFadeStep();
  // title-specific screens
  int TitleMapAreaAt(int x, int y) const;
  int TitleMapFlag(int area, int row) const;
  void DrawTitleMapStrip(Bitmap& target);
  void RedrawTitleMap();
  void BlinkTitleMapRow(Rect row);
  void RevealStatusScreen();
};

}  // namespace torvel
