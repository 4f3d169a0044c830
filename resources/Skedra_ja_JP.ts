<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Body</name>
    <message>
        <source>Cannot read the schedule file %1: %2</source>
        <translation>スケジュールファイル %1 を読めません: %2</translation>
    </message>
    <message>
        <source>Cannot write the schedule file %1: %2</source>
        <translation>スケジュールファイル %1 に書き込めません: %2</translation>
    </message>
    <message>
        <source>Save Schedule</source>
        <translation>スケジュールの保存</translation>
    </message>
    <message>
        <source>Skedra</source>
        <translation>Skedra</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>開始</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>再開</translation>
    </message>
    <message>
        <source>This(here)</source>
        <translation>この行から</translation>
    </message>
    <message>
        <source>This(Begin)</source>
        <translation>この行を最初から</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>次の行から</translation>
    </message>
    <message>
        <source>Select Schedule (CSV)</source>
        <translation>スケジュール (CSV)</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>読込</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Clear on Load</source>
        <translation>読込時にクリア</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>チェック</translation>
    </message>
    <message>
        <source>Edit Line</source>
        <translation>行編集</translation>
    </message>
    <message>
        <source>New Top</source>
        <translation>先頭に新規行</translation>
    </message>
    <message>
        <source>New Bottom</source>
        <translation>末尾に新規行</translation>
    </message>
    <message>
        <source>Show Cut Buffer</source>
        <translation>カットバッファー表示</translation>
    </message>
    <message>
        <source>Come Back at Bottom</source>
        <translation>末尾に戻す</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message>
        <source>Show Log</source>
        <translation>ログ表示</translation>
    </message>
    <message>
        <source>Show Tolva Stat</source>
        <translation>Tolva 状態表示</translation>
    </message>
    <message>
        <source>Show Tolva Log.</source>
        <translation>Tolva ログ表示</translation>
    </message>
    <message>
        <source>Show Exec. Stat.</source>
        <translation>実行状態表示</translation>
    </message>
    <message>
        <source>Skedra / Cut Buffer</source>
        <translation>Skedra / カットバッファー</translation>
    </message>
    <message>
        <source>Select Meas. Schedule</source>
        <translation>測定スケジュールの選択</translation>
    </message>
    <message>
        <source>csv (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>any (*, *.*)</source>
        <translation>すべて (*, *.*)</translation>
    </message>
    <message>
        <source>Run finished at entry %1.</source>
        <translation>%1 行目で実行を終了しました。</translation>
    </message>
    <message>
        <source>Run ended on an error at entry %1.</source>
        <translation>%1 行目でエラーのため実行が止まりました。</translation>
    </message>
    <message>
        <source>Tolva: %1</source>
        <translation>Tolva: %1</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>未接続</translation>
    </message>
    <message>
        <source>Stops the run. A scan already running on the target carries on to its end.</source>
        <translation>実行を停止します。測定プログラムで実行中のスキャンは最後まで続きます。</translation>
    </message>
    <message>
        <source>Show Overview</source>
        <translation>一覧を表示</translation>
    </message>
    <message>
        <source>Stop after this entry</source>
        <translation>この行の後で停止</translation>
    </message>
    <message>
        <source>On error: stop</source>
        <translation>エラー時: 停止</translation>
    </message>
    <message>
        <source>On error: skip</source>
        <translation>エラー時: 次の行へ</translation>
    </message>
    <message>
        <source>What the run does when an entry fails: end, or go on with the next entry.</source>
        <translation>行が失敗したときの動作: 実行を終えるか、次の行へ進みます。</translation>
    </message>
    <message>
        <source>ON_ENTRY_ERROR %1 is neither stop nor skip; stop is used.</source>
        <translation>ON_ENTRY_ERROR %1 は stop でも skip でもありません。stop を使います。</translation>
    </message>
    <message>
        <source>Run took %1</source>
        <translation>実行時間 %1</translation>
    </message>
    <message>
        <source>The run ended on an error at entry %1.</source>
        <translation>実行は %1 行目のエラーで終了しました。</translation>
    </message>
    <message>
        <source>Run finished: %1 entries done, %2 failed, in %3.</source>
        <translation>実行終了: 完了 %1 行、失敗 %2 行、所要 %3。</translation>
    </message>
    <message>
        <source>Entry %1 failed: %2</source>
        <translation>%1 行目が失敗しました: %2</translation>
    </message>
    <message>
        <source>Run journal</source>
        <translation>実行記録</translation>
    </message>
    <message>
        <source>Elapsed %1  Entry left %2  End %3</source>
        <translation>経過 %1  この行の残り %2  終了予定 %3</translation>
    </message>
    <message>
        <source>A prompt has waited for the operator for 5 minutes; the run is held: %1</source>
        <translation>操作者への確認が 5 分間待っています。実行は止まっています: %1</translation>
    </message>
</context>
<context>
    <name>ConnectStat</name>
    <message>
        <source>Disconnected</source>
        <translation>未接続</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>接続</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>接続中</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>接続済み</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>切断</translation>
    </message>
</context>
<context>
    <name>Exec</name>
    <message>
        <source>Initialize</source>
        <translation>初期化</translation>
    </message>
    <message>
        <source>Selecting Edge</source>
        <translation>吸収端選択中</translation>
    </message>
    <message>
        <source>Move Mono. and S. Holder</source>
        <translation>分光器・試料ホルダー移動中</translation>
    </message>
    <message>
        <source>Selecting Quick/Step Mode</source>
        <translation>スキャン種別/測定モード設定中</translation>
    </message>
    <message>
        <source>Setting File-Name / Comments</source>
        <translation>ファイル名/コメント設定中</translation>
    </message>
    <message>
        <source>Setting Block Params</source>
        <translation>ブロック設定中</translation>
    </message>
    <message>
        <source>Setting Meas. Time</source>
        <translation>測定時間設定中</translation>
    </message>
    <message>
        <source>Measuring Dark</source>
        <translation>ダーク測定中</translation>
    </message>
    <message>
        <source>In Meas.</source>
        <translation>測定中</translation>
    </message>
    <message>
        <source>One Meas. End</source>
        <translation>測定 1 件終了</translation>
    </message>
    <message>
        <source>Not In Exec</source>
        <translation>停止中</translation>
    </message>
    <message>
        <source>ExecP = %1, new Start = %2, old Start = %3</source>
        <translation>実行位置 = %1, 新しい開始エネルギー = %2 eV, 前の開始エネルギー = %3 eV</translation>
    </message>
    <message>
        <source>ExecP = %1, new Holder = %2, old Holder = %3</source>
        <translation>実行位置 = %1, 新しいホルダー = %2, 前のホルダー = %3</translation>
    </message>
    <message>
        <source>Entry %1: unknown block definition type %2; the run stops.</source>
        <translation>%1 行目: 不明なブロック定義種別 %2 のため、実行を停止します。</translation>
    </message>
    <message>
        <source>ICGases Changing.
The Target Edge is changing (from %1-%2 to %3-%4).
Do any action for that.
Then Click Ok.</source>
        <translation>イオンチェンバーのガス交換
測定する吸収端が変わります (%1-%2 → %3-%4)。
必要に応じてガスを交換してください。
終わったら OK を押してください。</translation>
    </message>
    <message>
        <source>Higher Order Cut Mirror Mode Should Change
from Mode %1(%2[eV]-%3[eV]) to Mode %4(%5[eV]-%6[eV]).
Do any action for that.
Then Click Ok.</source>
        <translation>高次光カットミラーのモード変更
モード %1(%2[eV]-%3[eV]) → モード %4(%5[eV]-%6[eV])
必要に応じて切り替えてください。
終わったら OK を押してください。</translation>
    </message>
    <message>
        <source>Monochromator Mode Should Change
from Mode %1(%2[eV]-%3[eV]) to Mode %4(%5[eV]-%6[eV]).
Do any action for that.
Then Click Ok.</source>
        <translation>分光器のモード変更
モード %1(%2[eV]-%3[eV]) → モード %4(%5[eV]-%6[eV])
必要に応じて切り替えてください。
終わったら OK を押してください。</translation>
    </message>
    <message>
        <source>Entry %1 failed: %2. The run goes on with the next entry.</source>
        <translation>%1 行目が失敗しました: %2。次の行へ進みます。</translation>
    </message>
    <message>
        <source>the measurement did not start</source>
        <translation>測定が始まりませんでした</translation>
    </message>
    <message>
        <source>the sample holder did not move</source>
        <translation>試料ホルダーが動きませんでした</translation>
    </message>
</context>
<context>
    <name>ExecCtrl</name>
    <message>
        <source>Frame</source>
        <translation>フレーム</translation>
    </message>
    <message>
        <source>Target is Ready</source>
        <translation>測定プログラム準備完了</translation>
    </message>
    <message>
        <source>In XAFS Meas</source>
        <translation>XAFS 測定中</translation>
    </message>
    <message>
        <source>Monochromator is Changing</source>
        <translation>分光器モード切替中</translation>
    </message>
    <message>
        <source>IC Gases Changing</source>
        <translation>IC ガス交換中</translation>
    </message>
    <message>
        <source>Sample Holder is Moving</source>
        <translation>試料ホルダー移動中</translation>
    </message>
    <message>
        <source>Dark is in Meas</source>
        <translation>ダーク測定中</translation>
    </message>
    <message>
        <source>Busy Asking Block Num</source>
        <translation>ブロック数問合せ中</translation>
    </message>
    <message>
        <source>Err Remote</source>
        <translation>リモートエラー</translation>
    </message>
    <message>
        <source>Main Th is Moving</source>
        <translation>分光器 θ 移動中</translation>
    </message>
    <message>
        <source>Err In Starting XAFS Meas</source>
        <translation>XAFS 測定開始エラー</translation>
    </message>
    <message>
        <source>Higer Order Cut is Changing</source>
        <translation>高次光カット切替中</translation>
    </message>
    <message>
        <source>Err Sample Holder Move</source>
        <translation>試料ホルダー移動エラー</translation>
    </message>
    <message>
        <source>Err Starting XAFS Meas Msg will be here</source>
        <translation>XAFS 測定開始エラーの内容をここに表示</translation>
    </message>
    <message>
        <source>Err Remote Msg will be here.</source>
        <translation>リモートエラーの内容をここに表示</translation>
    </message>
</context>
<context>
    <name>LayoutFrame</name>
    <message>
        <source>Frame</source>
        <translation>フレーム</translation>
    </message>
</context>
<context>
    <name>LogArea</name>
    <message>
        <source>Log Area</source>
        <translation>ログ</translation>
    </message>
    <message>
        <source>Write To</source>
        <translation>ファイル出力</translation>
    </message>
    <message>
        <source>Keep at End</source>
        <translation>末尾に追従</translation>
    </message>
    <message>
        <source>Verbose</source>
        <translation>詳細</translation>
    </message>
</context>
<context>
    <name>OneBlock</name>
    <message>
        <source>One Block</source>
        <translation>ブロック</translation>
    </message>
    <message>
        <source>Start Pos.</source>
        <translation>開始位置</translation>
    </message>
    <message>
        <source>Absolute value, or relative to the absorption edge when it begins with R.
Relative values are written like &quot;R-100&quot;, &quot;R+100&quot;, &quot;R1000&quot;;
&quot;R+&quot; and &quot;R&quot; mean the same.</source>
        <translation>絶対値。R で始まるときは吸収端からの相対値です。
相対値は &quot;R-100&quot;、&quot;R+100&quot;、&quot;R1000&quot; のように書きます。
&quot;R+&quot; と &quot;R&quot; は同じ意味です。</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>点数</translation>
    </message>
    <message>
        <source>Points and Delta cannot be set independently:
Delta = ( End - Start ) / Steps
Steps = (End - Start) / Delta</source>
        <translation>点数と刻み幅は独立には設定できません:
刻み幅 = (終了 - 開始) / ステップ数
ステップ数 = (終了 - 開始) / 刻み幅</translation>
    </message>
    <message>
        <source>delta</source>
        <translation>刻み幅</translation>
    </message>
</context>
<context>
    <name>OneBlocks</name>
    <message>
        <source>Blocks</source>
        <translation>ブロック</translation>
    </message>
</context>
<context>
    <name>Prompt</name>
    <message>
        <source>Prompt</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Prompt Msg.</source>
        <translation>メッセージ</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Prompter</name>
    <message>
        <source>Prompter</source>
        <translation>オペレーター確認</translation>
    </message>
</context>
<context>
    <name>ScheduleEdit</name>
    <message>
        <source>Cannot write the block file %1: %2</source>
        <translation>ブロックファイル %1 に書き込めません: %2</translation>
    </message>
    <message>
        <source>Cannot read the block file %1: %2</source>
        <translation>ブロックファイル %1 を読めません: %2</translation>
    </message>
    <message>
        <source>Block file</source>
        <translation>ブロックファイル</translation>
    </message>
    <message>
        <source>Schedule Editor</source>
        <translation>スケジュール編集</translation>
    </message>
    <message>
        <source>Exec</source>
        <translation>実行</translation>
    </message>
    <message>
        <source>Either one is necessary.</source>
        <translation>どちらか一方が必要です。</translation>
    </message>
    <message>
        <source>Holder No.</source>
        <translation>ホルダー番号</translation>
    </message>
    <message>
        <source>Req. (Eiter)</source>
        <translation>必須(いずれか)</translation>
    </message>
    <message>
        <source>Sample ID</source>
        <translation>試料 ID</translation>
    </message>
    <message>
        <source>Target Elm.</source>
        <translation>測定元素</translation>
    </message>
    <message>
        <source>Req.</source>
        <translation>必須</translation>
    </message>
    <message>
        <source>Target Edge</source>
        <translation>吸収端</translation>
    </message>
    <message>
        <source>Opt.</source>
        <translation>任意</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>ファイル名</translation>
    </message>
    <message>
        <source>Opt. (Gen. Auto)</source>
        <translation>任意(自動生成)</translation>
    </message>
    <message>
        <source>Sample Description/Comment</source>
        <translation>試料の説明/コメント</translation>
    </message>
    <message>
        <source>Ref. Sample</source>
        <translation>参照試料</translation>
    </message>
    <message>
        <source>Opt. (Foil)</source>
        <translation>任意(箔)</translation>
    </message>
    <message>
        <source>E.</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>W.</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>コピー</translation>
    </message>
    <message>
        <source>In.U.</source>
        <translation>上に挿入</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>カット</translation>
    </message>
    <message>
        <source>In.D.</source>
        <translation>下に挿入</translation>
    </message>
    <message>
        <source>Scan Type</source>
        <translation>スキャン種別</translation>
    </message>
    <message>
        <source>Opt. (Q.)</source>
        <translation>任意(クイック)</translation>
    </message>
    <message>
        <source>As default, scan-type is &apos;Quick&apos; and meas-mode is &apos;Trans&apos;.</source>
        <translation>既定ではスキャン種別は「Quick」、測定モードは「Trans」(透過法)です。</translation>
    </message>
    <message>
        <source>Meas. Mode</source>
        <translation>測定モード</translation>
    </message>
    <message>
        <source>Opt. (T.)</source>
        <translation>任意(透過)</translation>
    </message>
    <message>
        <source>Mono. Cryst.</source>
        <translation>分光結晶</translation>
    </message>
    <message>
        <source>M. Dark</source>
        <translation>ダーク測定</translation>
    </message>
    <message>
        <source>&apos;-&apos; : Depending on situations
&apos;Y&apos; : In Any case
&apos;N&apos; : Never</source>
        <translation>&apos;-&apos; : 状況に応じて
&apos;Y&apos; : 必ず行う
&apos;N&apos; : 行わない</translation>
    </message>
    <message>
        <source>Tuning</source>
        <translation>チューニング</translation>
    </message>
    <message>
        <source>Block Def. Type</source>
        <translation>ブロック定義種別</translation>
    </message>
    <message>
        <source>Opt. (S.)</source>
        <translation>任意(標準)</translation>
    </message>
    <message>
        <source>Std. Type</source>
        <translation>標準ブロック種別</translation>
    </message>
    <message>
        <source>Opt.(XAFS)</source>
        <translation>任意(XAFS)</translation>
    </message>
    <message>
        <source>Def. File</source>
        <translation>定義ファイル</translation>
    </message>
    <message>
        <source>Opt./Req.</source>
        <translation>任意/必須</translation>
    </message>
    <message>
        <source>Sel.</source>
        <translation>選択</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Meas. Time(s)</source>
        <translation>測定時間(s)</translation>
    </message>
    <message>
        <source>Opt. (1/300)</source>
        <translation>任意(1/300)</translation>
    </message>
    <message>
        <source>Blocks</source>
        <translation>ブロック数</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>単位</translation>
    </message>
    <message>
        <source>to Abs.</source>
        <translation>絶対値へ</translation>
    </message>
    <message>
        <source>to Rel.</source>
        <translation>相対値へ</translation>
    </message>
    <message>
        <source>Errors</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Warnings</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>No. Erros</source>
        <translation>エラーなし</translation>
    </message>
    <message>
        <source>No. Warnings</source>
        <translation>警告なし</translation>
    </message>
    <message>
        <source>Holder No. or Sample ID must be specified.</source>
        <translation>ホルダー番号か試料 ID を指定してください。</translation>
    </message>
    <message>
        <source>Target Element must be specified.</source>
        <translation>測定元素を指定してください。</translation>
    </message>
    <message>
        <source>Block Def (*.prm)</source>
        <translation>ブロック定義 (*.prm)</translation>
    </message>
    <message>
        <source>9809 (*.dat)</source>
        <translation>9809 (*.dat)</translation>
    </message>
    <message>
        <source>any (*, *.*)</source>
        <translation>すべて (*, *.*)</translation>
    </message>
</context>
<context>
    <name>Tolva</name>
    <message>
        <source>Tolva Settings</source>
        <translation>Tolva 設定</translation>
    </message>
    <message>
        <source>Tolva:</source>
        <translation>Tolva:</translation>
    </message>
    <message>
        <source>Name on Tolva</source>
        <translation>Tolva 上の名前</translation>
    </message>
    <message>
        <source>Key File Name</source>
        <translation>キーファイル名</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>ホスト</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>ポート</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>接続</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状態</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>未接続</translation>
    </message>
    <message>
        <source>Port [%1] is not a number from 1 to 65535; not connecting to Tolva.</source>
        <translation>ポート [%1] が 1〜65535 の数値ではないため、Tolva に接続しません。</translation>
    </message>
    <message>
        <source>A line from Tolva is longer than %1 bytes; closing the connection.</source>
        <translation>Tolva からの行が %1 バイトを超えたため、接続を閉じます。</translation>
    </message>
    <message>
        <source>Connected To Tolva</source>
        <translation>Tolva に接続しました</translation>
    </message>
    <message>
        <source>opening key file [%1]</source>
        <translation>キーファイル [%1] を開いています</translation>
    </message>
    <message>
        <source>Can&apos;t open key file [%1]</source>
        <translation>キーファイル [%1] を開けません</translation>
    </message>
    <message>
        <source>I have no key to exchange with Tolva.</source>
        <translation>Tolva と交換するキーがありません。</translation>
    </message>
    <message>
        <source>sending key [%1][key %2 of %3]</source>
        <translation>キーを送信中 [%1][%3 個中 %2 番目のキー]</translation>
    </message>
</context>
<context>
    <name>UnattendedRun</name>
    <message>
        <source>Cannot read the schedule file %1; no run is started.</source>
        <translation>スケジュールファイル %1 を読めないため、実行を開始しません。</translation>
    </message>
    <message>
        <source>Starting the run (-go).</source>
        <translation>実行を開始します (-go)。</translation>
    </message>
    <message>
        <source>Prompt confirmed (-confirm-prompts): %1</source>
        <translation>確認メッセージを自動で承認しました (-confirm-prompts): %1</translation>
    </message>
    <message>
        <source>Run finished; quitting (-quit-when-done).</source>
        <translation>実行が終了しました。プログラムを終了します (-quit-when-done)。</translation>
    </message>
    <message>
        <source>Run ended on an error; quitting (-quit-when-done).</source>
        <translation>エラーで実行が止まりました。プログラムを終了します (-quit-when-done)。</translation>
    </message>
</context>
<context>
    <name>RunJournal</name>
    <message>
        <source>Cannot write the run journal %1: %2</source>
        <translation>実行記録 %1 に書き込めません: %2</translation>
    </message>
    <message>
        <source>Run journal %1, line %2 is incomplete and was skipped.</source>
        <translation>実行記録 %1 の %2 行目は途中で切れているため読み飛ばしました。</translation>
    </message>
</context>
<context>
    <name>Notifier</name>
    <message>
        <source>Notification program %1 failed: %2</source>
        <translation>通知プログラム %1 が失敗しました: %2</translation>
    </message>
    <message>
        <source>exit status %1</source>
        <translation>終了ステータス %1</translation>
    </message>
</context>
<context>
    <name>RunOverview</name>
    <message>
        <source>pending</source>
        <translation>待機</translation>
    </message>
    <message>
        <source>running</source>
        <translation>実行中</translation>
    </message>
    <message>
        <source>running: %1</source>
        <translation>実行中: %1</translation>
    </message>
    <message>
        <source>done</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>失敗: %1</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>スキップ</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Exec</source>
        <translation>実行</translation>
    </message>
    <message>
        <source>Holder</source>
        <translation>ホルダー</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>試料</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>元素・吸収端</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>スキャン</translation>
    </message>
    <message>
        <source>Blocks</source>
        <translation>ブロック</translation>
    </message>
    <message>
        <source>Estimate</source>
        <translation>予想時間</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状態</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>開始</translation>
    </message>
    <message>
        <source>End</source>
        <translation>終了</translation>
    </message>
</context>
</TS>
