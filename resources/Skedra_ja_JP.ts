<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Body</name>
    <message>
        <source>A run is going. Stop it and close Skedra?</source>
        <translation>実行中です。実行を止めて Skedra を閉じますか?</translation>
    </message>
    <message>
        <source>The schedule has changed since it was last saved or loaded. Close Skedra without saving it?</source>
        <translation>スケジュールは最後の保存または読み込みの後に変更されています。保存せずに Skedra を閉じますか?</translation>
    </message>
    <message>
        <source>%1; the schedule is left as it was.</source>
        <translation>%1。スケジュールは変更していません。</translation>
    </message>
    <message>
        <source>Loading %1 cancelled; the schedule is left as it was.</source>
        <translation>%1 の読み込みを取り消しました。スケジュールは変更していません。</translation>
    </message>
    <message>
        <source>Schedule file %1 loaded; entries: %2.</source>
        <translation>スケジュールファイル %1 を読み込みました。行数: %2。</translation>
    </message>
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
        <source>Tolva: %1</source>
        <translation>Tolva: %1</translation>
    </message>
    <message>
        <source>Stops the run. A scan already running on the target carries on to its end.</source>
        <translation>実行を停止します。測定プログラムで実行中のスキャンは最後まで続きます。</translation>
    </message>
    <message>
        <source>Run journal</source>
        <translation>実行記録</translation>
    </message>
    <message>
        <source>%1; unsaved edits are not kept.</source>
        <translation>%1。保存していない編集内容は保持されません。</translation>
    </message>
    <message>
        <source>Unsaved edits of an earlier session are kept in %1 (%2); load it to see them.</source>
        <translation>前回のセッションで保存されなかった編集内容が %1 (%2) に保持されています。読み込むと確認できます。</translation>
    </message>
    <message>
        <source>Skedra ended with unsaved changes to the schedule; they were kept in %1 (%2).
Load them? No discards them.</source>
        <translation>Skedra はスケジュールの変更を保存しないまま終了しました。変更は %1 (%2) に保持されています。
読み込みますか? 「いいえ」を選ぶと破棄します。</translation>
    </message>
    <message>
        <source>Unsaved edits loaded from %1; entries: %2.</source>
        <translation>保存されなかった編集内容を %1 から読み込みました。行数: %2。</translation>
    </message>
    <message>
        <source>The run is not started: entry %1 has errors: %2</source>
        <translation>実行を開始しません: %1 行目にエラーがあります: %2</translation>
    </message>
    <message>
        <source>The schedule has changed since it was last saved or loaded. Clear it?</source>
        <translation>スケジュールは最後の保存または読み込みの後に変更されています。クリアしますか?</translation>
    </message>
    <message>
        <source>Write the night report of the journal&apos;s last run (an HTML file beside the journal) and open it</source>
        <translation>ジャーナルの最後の実行のナイトレポート (ジャーナルと同じ場所の HTML ファイル) を書き出して開きます</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>レポート</translation>
    </message>
</context>
<context>
    <name>ConfigStore</name>
    <message>
        <source>a quote is opened and not closed: %1</source>
        <translation>引用符が開いたまま閉じていません: %1</translation>
    </message>
    <message>
        <source>a quote is closed and not opened: %1</source>
        <translation>開いていない引用符が閉じられています: %1</translation>
    </message>
    <message>
        <source>Cannot read the configuration file %1; its settings are not used.</source>
        <translation>設定ファイル %1 を読めません。その設定は使われません。</translation>
    </message>
    <message>
        <source>INCLUDE %1 comes back to a file being read; skipped.</source>
        <translation>INCLUDE %1 は読み込み中のファイルに戻ります。読み飛ばしました。</translation>
    </message>
    <message>
        <source>INCLUDE %1 cannot be read; its settings are not used.</source>
        <translation>INCLUDE %1 を読めません。その設定は使われません。</translation>
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
    <name>DryRun</name>
    <message>
        <source>%1 blocks</source>
        <translation>%1 ブロック</translation>
    </message>
    <message>
        <source>Entry %1: %2, %3, %4, %5</source>
        <translation>%1 行目: %2, %3, %4, %5</translation>
    </message>
    <message>
        <source>Dry run of %1 ticked entries of %2.</source>
        <translation>%2 行のうち実行する %1 行の試行(ドライラン)。</translation>
    </message>
    <message>
        <source>When the target logs in:</source>
        <translation>測定プログラムのログイン時:</translation>
    </message>
    <message>
        <source>Warning: %1</source>
        <translation>警告: %1</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>エラー: %1</translation>
    </message>
    <message>
        <source>The target&apos;s answer is taken to be %1 (DRYRUN_BLOCK_NUM).</source>
        <translation>測定プログラムの応答を %1 と仮定します (DRYRUN_BLOCK_NUM)。</translation>
    </message>
    <message>
        <source>The target&apos;s answer is taken to be %1, the blocks of the entry&apos;s standard set (DRYRUN_BLOCK_NUM not set).</source>
        <translation>測定プログラムの応答を %1 (この行の標準ブロック数) と仮定します (DRYRUN_BLOCK_NUM 未設定)。</translation>
    </message>
    <message>
        <source>Estimated duration: %1 (%2 prompts not counted).</source>
        <translation>見積もり所要時間: %1 (確認 %2 件の待ち時間を除く)。</translation>
    </message>
    <message>
        <source>Total: %1 (%2 prompts not counted); expected end if started now: %3.</source>
        <translation>合計: %1 (確認 %2 件の待ち時間を除く)。今開始した場合の終了予定: %3。</translation>
    </message>
    <message>
        <source>%1 ticked entries have errors: Start refuses this schedule.</source>
        <translation>実行する行のうち %1 行にエラーがあります: このスケジュールは開始できません。</translation>
    </message>
    <message>
        <source>Block %1: %2 to %3 eV (%4 to %5 from the edge), k %6 to %7 1/A, %8 points, step %9 eV, dwell %10 s.</source>
        <translation>ブロック %1: %2 - %3 eV (吸収端から %4 - %5)、k %6 - %7 1/A、%8 点、ステップ %9 eV、積算時間 %10 s。</translation>
    </message>
    <message>
        <source>Points: %1 in %2 blocks, %3 s of dwell time.</source>
        <translation>点数: %2 ブロックで %1 点、積算時間 %3 s。</translation>
    </message>
    <message>
        <source>Deadline (END_BY): %1.</source>
        <translation>期限 (END_BY): %1。</translation>
    </message>
    <message>
        <source>Not begun: would end after %1 (END_BY).</source>
        <translation>開始しません: %1 より後に終わる見込みです (END_BY)。</translation>
    </message>
    <message>
        <source>Fits before the deadline: ends about %1.</source>
        <translation>期限内に収まります: %1 ごろ終了。</translation>
    </message>
    <message>
        <source>%1 of %2 ticked entries fit before the deadline %3.</source>
        <translation>チェックしたエントリ %2 行のうち %1 行が期限 %3 までに収まります。</translation>
    </message>
</context>
<context>
    <name>DryRunWindow</name>
    <message>
        <source>Skedra / Check</source>
        <translation>Skedra / チェック</translation>
    </message>
    <message>
        <source>Save as Text...</source>
        <translation>テキストとして保存...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 に書き込めません: %2</translation>
    </message>
    <message>
        <source>Save the Check listing</source>
        <translation>チェック結果の保存</translation>
    </message>
    <message>
        <source>Text (*.txt)</source>
        <translation>テキスト (*.txt)</translation>
    </message>
</context>
<context>
    <name>EntrySelection</name>
    <message>
        <source>-entries names no entry.</source>
        <translation>-entries に行が指定されていません。</translation>
    </message>
    <message>
        <source>-entries: &quot;%1&quot; is neither an entry number nor a range such as 3-5.</source>
        <translation>-entries: 「%1」は行番号でも 3-5 のような範囲でもありません。</translation>
    </message>
    <message>
        <source>-entries: entry %1 does not exist; the schedule has %2.</source>
        <translation>-entries: %1 行目はありません。スケジュールの行数は %2 です。</translation>
    </message>
</context>
<context>
    <name>Exec</name>
    <message>
        <source>still waiting for %1</source>
        <translation>%1 を待ち続けています</translation>
    </message>
    <message>
        <source>the target refused %1</source>
        <translation>測定プログラムが %1 を拒否しました</translation>
    </message>
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
        <source>Entry %1: the target reports %2 blocks; only 0 to %3 are accepted. The entry fails.</source>
        <translation>%1 行目: 測定プログラムのブロック数 %2 は受け付けられません (0 ～ %3 のみ)。この行は失敗です。</translation>
    </message>
    <message>
        <source>Waiting for the target</source>
        <translation>測定プログラム待ち</translation>
    </message>
    <message>
        <source>Target lost</source>
        <translation>測定プログラム切断</translation>
    </message>
    <message>
        <source>Target still measuring</source>
        <translation>測定プログラム測定継続中</translation>
    </message>
    <message>
        <source>the target to log in</source>
        <translation>測定プログラムの接続</translation>
    </message>
    <message>
        <source>the end of the energy move</source>
        <translation>エネルギー移動の終了</translation>
    </message>
    <message>
        <source>the end of the sample-holder move</source>
        <translation>試料ホルダー移動の終了</translation>
    </message>
    <message>
        <source>the block count</source>
        <translation>ブロック数の回答</translation>
    </message>
    <message>
        <source>the end of the measurement</source>
        <translation>測定の終了</translation>
    </message>
    <message>
        <source>Entry %1, stage &quot;%2&quot;: still waiting for %3 after %4 s.</source>
        <translation>%1 行目、段階「%2」: %4 秒を過ぎても%3を待っています。</translation>
    </message>
    <message>
        <source>The unattended run ends on this error.</source>
        <translation>無人実行はこのエラーで終了します。</translation>
    </message>
    <message>
        <source>Entry %1: the target&apos;s measurement goes on until it ends.</source>
        <translation>%1 行目: 測定プログラムの測定は終わるまで続きます。</translation>
    </message>
    <message>
        <source>Entry %1: the target was lost; the run holds. Resume or Start once it is back.</source>
        <translation>%1 行目: 測定プログラムとの接続が失われたため、実行を保留します。測定プログラムが戻ったら再開または開始してください。</translation>
    </message>
    <message>
        <source>Entry %1: the target refused %2; the entry fails.</source>
        <translation>%1 行目: 測定プログラムが %2 を拒否したため、この行は失敗です。</translation>
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
    <message>
        <source>Entry %1: %2 blocks are measured but %3 dwell times are given; the last time (%4 s) is used for the others.</source>
        <translation>%1 行目: %2 ブロックを測定しますが、測定時間は %3 個しか指定されていません。残りには最後の時間 (%4 s) を使います。</translation>
    </message>
    <message>
        <source>Entry %1: unknown block definition type %2; the entry fails.</source>
        <translation>%1 行目: 不明なブロック定義種別 %2 です。この行は失敗です。</translation>
    </message>
    <message>
        <source>Entry %1: %2; the entry fails.</source>
        <translation>%1 行目: %2。この行は失敗です。</translation>
    </message>
    <message>
        <source>Entry %1: the target&apos;s block count is not a number. The entry fails.</source>
        <translation>%1 行目: 測定プログラムのブロック数が数値ではありません。この行は失敗です。</translation>
    </message>
    <message>
        <source>begun %1 times, the target went away each time</source>
        <translation>%1 回開始し、そのたびに測定プログラムとの接続が失われました</translation>
    </message>
    <message>
        <source>Entry %1: the target is back; the entry begins again from its start (attempt %2 of %3).</source>
        <translation>%1 行目: 測定プログラムが戻りました。この行を最初からやり直します (%3 回中 %2 回目)。</translation>
    </message>
    <message>
        <source>Entry %1: the target has not reported the end of its measurement within its limit; Skedra no longer waits for it.</source>
        <translation>%1 行目: 測定プログラムは制限時間内に測定の終了を知らせませんでした。Skedra はこれ以上待ちません。</translation>
    </message>
    <message>
        <source>would end after %1</source>
        <translation>%1 より後に終わる見込み</translation>
    </message>
</context>
<context>
    <name>ExecCtrl</name>
    <message>
        <source>Frame</source>
        <translation>実行状態</translation>
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
    <name>ListEdits</name>
    <message>
        <source>row %1: no element in column %2 (%3 fields read)</source>
        <translation>%1 行目: %2 列目に測定元素がありません (読み取った項目数 %3)</translation>
    </message>
</context>
<context>
    <name>ListPane</name>
    <message>
        <source>New entry</source>
        <translation>新規行</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>挿入</translation>
    </message>
    <message>
        <source>Come back</source>
        <translation>戻す</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>コピー</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>カット</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>やり直す</translation>
    </message>
    <message>
        <source>Copy rows</source>
        <translation>行をコピー</translation>
    </message>
    <message>
        <source>Paste rows</source>
        <translation>行を貼り付け</translation>
    </message>
    <message>
        <source>Cut rows</source>
        <translation>行をカット</translation>
    </message>
    <message>
        <source>Fill down</source>
        <translation>下へコピー</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>複製</translation>
    </message>
    <message>
        <source>Repeat ×N…</source>
        <translation>N 回繰り返す…</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>繰り返し</translation>
    </message>
    <message>
        <source>Copies of the selected entries, their data files numbered on:</source>
        <translation>選択した行の複製数 (データファイル名は連番になります):</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>上へ移動</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>下へ移動</translation>
    </message>
    <message>
        <source>Tick</source>
        <translation>実行対象にする</translation>
    </message>
    <message>
        <source>Untick</source>
        <translation>実行対象から外す</translation>
    </message>
    <message>
        <source>Tick what failed in the last run</source>
        <translation>前回の実行で失敗した行を実行対象にする</translation>
    </message>
    <message>
        <source>Set %1</source>
        <translation>%1 を設定</translation>
    </message>
    <message>
        <source>Repeat ×%1</source>
        <translation>%1 回繰り返し</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移動</translation>
    </message>
    <message>
        <source>Tick what failed</source>
        <translation>失敗した行を実行対象にする</translation>
    </message>
    <message>
        <source>Rows not pasted: %1</source>
        <translation>貼り付けなかった行: %1</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>貼り付け</translation>
    </message>
    <message>
        <source>Show Overview</source>
        <translation>一覧を表示</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>編集</translation>
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
    <name>NightReport</name>
    <message>
        <source>Skedra: the run of %1</source>
        <translation>Skedra: %1 の実行</translation>
    </message>
    <message>
        <source>From %1 to %2; the run ended: %3.</source>
        <translation>%1 から %2 まで。実行の終わり方: %3。</translation>
    </message>
    <message>
        <source>no end recorded</source>
        <translation>終了の記録なし</translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation>タイムライン</translation>
    </message>
    <message>
        <source>Bars: done green, failed red, stopped grey, skipped light; the dashed outline is the estimate, yellow the wait for the operator, violet the target away.</source>
        <translation>バー: 完了は緑、失敗は赤、停止は灰、スキップは薄色。破線の枠は見積もり、黄色はオペレーター待ち、紫は測定プログラムの不在です。</translation>
    </message>
    <message>
        <source>Totals</source>
        <translation>合計</translation>
    </message>
    <message>
        <source>Machine time</source>
        <translation>装置の時間</translation>
    </message>
    <message>
        <source>Waiting for the operator</source>
        <translation>オペレーター待ち</translation>
    </message>
    <message>
        <source>Lost to faults</source>
        <translation>障害で失った時間</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>Skipped</source>
        <translation>スキップ</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Entries</source>
        <translation>エントリ</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>番号</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>試料</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Element/Edge</source>
        <translation>元素/吸収端</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>スキャン</translation>
    </message>
    <message>
        <source>Estimate</source>
        <translation>予想時間</translation>
    </message>
    <message>
        <source>Actual</source>
        <translation>実績</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>結果</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>詳細</translation>
    </message>
    <message>
        <source>The journal %1 has no run of %2.</source>
        <translation>ジャーナル %1 に %2 の実行はありません。</translation>
    </message>
    <message>
        <source>The journal %1 has no run.</source>
        <translation>ジャーナル %1 に実行の記録がありません。</translation>
    </message>
    <message>
        <source>Cannot write the night report %1: %2</source>
        <translation>ナイトレポート %1 を書き込めません: %2</translation>
    </message>
    <message>
        <source>-report needs the journal: skedra -report JOURNAL [RUN]</source>
        <translation>-report にはジャーナルが必要です: skedra -report JOURNAL [RUN]</translation>
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
    <name>OptionTables</name>
    <message>
        <source>Crystal %1: the lattice spacing and the energy range must be numbers (read: [%2] [%3] [%4]); what does not read counts as 0.</source>
        <translation>結晶 %1: 格子面間隔とエネルギー範囲は数値でなければなりません (読み取り値: [%2] [%3] [%4])。数値として読めないものは 0 とみなします。</translation>
    </message>
    <message>
        <source>HOLDER_RANGE [%1] is not two whole numbers, the lowest position first; the key is ignored.</source>
        <translation>HOLDER_RANGE [%1] は小さい位置から順に並んだ 2 つの整数ではありません。このキーは使いません。</translation>
    </message>
</context>
<context>
    <name>PlanPlot</name>
    <message>
        <source> eV from the edge</source>
        <translation> eV (吸収端から)</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>k (1/A):</source>
        <translation>k (1/A):</translation>
    </message>
</context>
<context>
    <name>PlanView</name>
    <message>
        <source>E from the edge (eV)</source>
        <translation>吸収端からの E (eV)</translation>
    </message>
    <message>
        <source>k (1/A)</source>
        <translation>k (1/A)</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>点数</translation>
    </message>
    <message>
        <source>Step (eV)</source>
        <translation>ステップ (eV)</translation>
    </message>
    <message>
        <source>dk (1/A)</source>
        <translation>dk (1/A)</translation>
    </message>
    <message>
        <source>Dwell (s)</source>
        <translation>積算時間 (s)</translation>
    </message>
    <message>
        <source>Time (s)</source>
        <translation>時間 (s)</translation>
    </message>
    <message>
        <source>k region…</source>
        <translation>k 領域…</translation>
    </message>
    <message>
        <source>Write the EXAFS region as blocks from k start, k end and dk, with a dwell time growing with k.</source>
        <translation>k の開始・終了と dk から EXAFS 領域をブロックとして書き込みます。積算時間は k とともに増やせます。</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>合計</translation>
    </message>
    <message>
        <source>EXAFS region in k</source>
        <translation>k で指定する EXAFS 領域</translation>
    </message>
    <message>
        <source>k start (1/A)</source>
        <translation>k 開始 (1/A)</translation>
    </message>
    <message>
        <source>k end (1/A)</source>
        <translation>k 終了 (1/A)</translation>
    </message>
    <message>
        <source>Dwell t0 (s)</source>
        <translation>積算時間 t0 (s)</translation>
    </message>
    <message>
        <source>at k0 (1/A)</source>
        <translation>基準 k0 (1/A)</translation>
    </message>
    <message>
        <source>constant</source>
        <translation>一定</translation>
    </message>
    <message>
        <source>t0 (k/k0)</source>
        <translation>t0 (k/k0)</translation>
    </message>
    <message>
        <source>t0 (k/k0)^2</source>
        <translation>t0 (k/k0)^2</translation>
    </message>
    <message>
        <source>t0 (k/k0)^3</source>
        <translation>t0 (k/k0)^3</translation>
    </message>
    <message>
        <source>Dwell law</source>
        <translation>積算時間の法則</translation>
    </message>
    <message>
        <source>Blocks at most</source>
        <translation>最大ブロック数</translation>
    </message>
    <message>
        <source>%1 blocks kept, %2 written; steps stray at most %3 % from dk; dwell time %4 s (the law&apos;s: %5 s).</source>
        <translation>%1 ブロックを保持、%2 ブロックを書き込み。ステップと dk の差は最大 %3 %。積算時間 %4 s (法則どおりなら %5 s)。</translation>
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
    <name>RunBar</name>
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
        <source>Elapsed %1  Entry left %2  End %3</source>
        <translation>経過 %1  この行の残り %2  終了予定 %3</translation>
    </message>
    <message>
        <source>Waiting for the operator for %1: %2</source>
        <translation>オペレーター待ち %1: %2</translation>
    </message>
    <message>
        <source>Bus: %1  Target %2: %3</source>
        <translation>バス: %1  測定プログラム %2: %3</translation>
    </message>
    <message>
        <source>there</source>
        <translation>接続中</translation>
    </message>
    <message>
        <source>away</source>
        <translation>不在</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>切断</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>接続</translation>
    </message>
    <message>
        <source>%1; the target is still measuring</source>
        <translation>%1。測定プログラムはまだ測定中です</translation>
    </message>
    <message>
        <source>Start at</source>
        <translation>開始時刻</translation>
    </message>
    <message>
        <source>Start holds the run until this time of day (the next such time), with a countdown; Stop cancels it.</source>
        <translation>Start はこの時刻 (次に来るその時刻) まで実行を待たせ、残り時間を表示します。Stop で取り消します。</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Finished by the deadline %1</source>
        <translation>期限 %1 により終了</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Ended on an error</source>
        <translation>エラーで終了</translation>
    </message>
    <message>
        <source>%1: %2 done, %3 failed, %4 skipped, %5 not measured; took %6 (estimated %7)</source>
        <translation>%1: 完了 %2 行、失敗 %3 行、スキップ %4 行、未測定 %5 行。所要 %6 (見積もり %7)</translation>
    </message>
    <message>
        <source>Starts at %1, in %2</source>
        <translation>%1 に開始 (あと %2)</translation>
    </message>
    <message>
        <source>End by %1</source>
        <translation>期限 %1</translation>
    </message>
</context>
<context>
    <name>RunController</name>
    <message>
        <source>WAIT_LIMIT %1 is not a number of seconds above 0; %2 s is used.</source>
        <translation>WAIT_LIMIT %1 は 0 より大きい秒数ではありません。%2 秒を使います。</translation>
    </message>
    <message>
        <source>ON_ENTRY_ERROR %1 is neither stop nor skip; stop is used.</source>
        <translation>ON_ENTRY_ERROR %1 は stop でも skip でもありません。stop を使います。</translation>
    </message>
    <message>
        <source>A run is going: Start does nothing. Stop it first, or use Resume.</source>
        <translation>実行中です: Start は何もしません。先に停止するか Resume を使ってください。</translation>
    </message>
    <message>
        <source>Entry %1: %2</source>
        <translation>%1 行目: %2</translation>
    </message>
    <message>
        <source>The run is not started: correct the entries above first.</source>
        <translation>実行を開始しません: 先に上記の行を直してください。</translation>
    </message>
    <message>
        <source>The run begins with entry %1.</source>
        <translation>%1 行目から実行を始めます。</translation>
    </message>
    <message>
        <source>Prompt: %1</source>
        <translation>確認メッセージ: %1</translation>
    </message>
    <message>
        <source>Prompt confirmed: %1</source>
        <translation>確認メッセージを承認しました: %1</translation>
    </message>
    <message>
        <source>%1 refused %2:%3</source>
        <translation>%1 が %2 を拒否しました:%3</translation>
    </message>
    <message>
        <source>%1 answered GetBlockNum with &quot;%2&quot;, which is no number of blocks.</source>
        <translation>%1 は GetBlockNum に「%2」と答えました。ブロック数ではありません。</translation>
    </message>
    <message>
        <source>Event from %1: %2%3</source>
        <translation>%1 からのイベント: %2%3</translation>
    </message>
    <message>
        <source>Run ended on an error at entry %1.</source>
        <translation>%1 行目でエラーのため実行が止まりました。</translation>
    </message>
    <message>
        <source>Run stopped by the operator at entry %1.</source>
        <translation>%1 行目でオペレーターが実行を停止しました。</translation>
    </message>
    <message>
        <source>Run ended without measuring entries %1.</source>
        <translation>%1 行目を測定しないまま実行が終わりました。</translation>
    </message>
    <message>
        <source>Run finished at entry %1.</source>
        <translation>%1 行目で実行を終了しました。</translation>
    </message>
    <message>
        <source>Run finished.</source>
        <translation>実行が終了しました。</translation>
    </message>
    <message>
        <source>Entry %1 failed: %2</source>
        <translation>%1 行目が失敗しました: %2</translation>
    </message>
    <message>
        <source>No ticked entry is left to measure; the run ends.</source>
        <translation>測定するチェック済みの行が残っていません。実行を終えます。</translation>
    </message>
    <message>
        <source>The run goes on with entry %1.</source>
        <translation>%1 行目から実行を続けます。</translation>
    </message>
    <message>
        <source>The run ended on an error at entry %1.</source>
        <translation>実行は %1 行目のエラーで終了しました。</translation>
    </message>
    <message>
        <source>The run ended without measuring entries %1.</source>
        <translation>%1 行目を測定しないまま実行が終わりました。</translation>
    </message>
    <message>
        <source>Run finished: %1 entries done, %2 failed, in %3.</source>
        <translation>実行終了: 完了 %1 行、失敗 %2 行、所要 %3。</translation>
    </message>
    <message>
        <source>%1; the run cannot be resumed after a crash.</source>
        <translation>%1。異常終了の後にこの実行を再開できません。</translation>
    </message>
    <message>
        <source>The run of %1 cannot be resumed: %2</source>
        <translation>%1 の実行を再開できません: %2</translation>
    </message>
    <message>
        <source>The run of %1 had measured every entry; nothing is resumed.</source>
        <translation>%1 の実行はすべての行を測定済みでした。再開するものはありません。</translation>
    </message>
    <message>
        <source>Resuming the run of %1 from its copy %2: entries done and unticked: %3; the run goes on at entry %4.</source>
        <translation>%1 の実行をその写し %2 から再開します。完了してチェックを外した行: %3。%4 行目から続行します。</translation>
    </message>
    <message>
        <source>none</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>Entry %1 was not done in that run and is unticked; tick it to measure it again.</source>
        <translation>%1 行目はその実行で完了しなかったため、チェックを外しました。再測定するにはチェックを入れてください。</translation>
    </message>
    <message>
        <source>The run of %1 is not resumed.</source>
        <translation>%1 の実行は再開しません。</translation>
    </message>
    <message>
        <source>The run started %1 did not end: Skedra or the computer stopped during it.
Its copy of the schedule: %2
Last entry done: %3
Entry that was running: %4

Resume the run?</source>
        <translation>%1 に開始した実行は終了していません。実行中に Skedra またはコンピューターが停止しました。
スケジュールの写し: %2
最後に完了した行: %3
実行中だった行: %4

実行を再開しますか?</translation>
    </message>
    <message>
        <source>Resume from entry %1 (measured again from its start)</source>
        <translation>%1 行目から再開 (最初から測定し直す)</translation>
    </message>
    <message>
        <source>Resume from entry %1</source>
        <translation>%1 行目から再開</translation>
    </message>
    <message>
        <source>Do not resume</source>
        <translation>再開しない</translation>
    </message>
    <message>
        <source>The run of %1 did not end (its copy: %2); start with -resume-last to resume it.</source>
        <translation>%1 の実行は終了していません (写し: %2)。再開するには -resume-last を付けて起動してください。</translation>
    </message>
    <message>
        <source>ON_TARGET_RETURN %1 is neither resume nor hold; resume is used.</source>
        <translation>ON_TARGET_RETURN %1 は resume でも hold でもありません。resume を使います。</translation>
    </message>
    <message>
        <source>the connection to the bus server was lost</source>
        <translation>バスサーバーとの接続が失われました</translation>
    </message>
    <message>
        <source>the target was back after %1 s; attempt %2</source>
        <translation>測定プログラムは %1 秒後に戻りました。%2 回目</translation>
    </message>
    <message>
        <source>PROMPT_NOTIFY_AFTER %1 is not a number of seconds above 0; %2 s is used.</source>
        <translation>PROMPT_NOTIFY_AFTER %1 は 0 より大きい秒数ではありません。%2 秒を使います。</translation>
    </message>
    <message>
        <source>A prompt has waited for the operator for %1; the run is held: %2</source>
        <translation>オペレーターへの確認が %1 待っています。実行は止まっています: %2</translation>
    </message>
    <message>
        <source>waiting for the operator: %1</source>
        <translation>オペレーター待ち: %1</translation>
    </message>
    <message>
        <source>The connection to the bus server was lost; the run waits for it and then for the target.</source>
        <translation>バスサーバーとの接続が失われました。実行はバスの復帰、次に測定プログラムの復帰を待ちます。</translation>
    </message>
    <message>
        <source>A run is going. Move every entry, the running one included, to the cut buffer?</source>
        <translation>実行中です。実行中の行も含め、すべての行をカットバッファーに移しますか?</translation>
    </message>
    <message>
        <source>Entry %1 is being run. Move it to the cut buffer?</source>
        <translation>%1 行目は実行中です。カットバッファーに移しますか?</translation>
    </message>
    <message>
        <source>Entries %1 were measured in this run. Move them to the cut buffer?</source>
        <translation>%1 行目はこの実行で測定済みです。カットバッファーに移しますか?</translation>
    </message>
    <message>
        <source>%1 %2 is not a time of day (hh:mm); it is not used.</source>
        <translation>%1 %2 は時刻 (hh:mm) ではないため使いません。</translation>
    </message>
    <message>
        <source>The run is not started: -start-at %1 is not a time of day (hh:mm).</source>
        <translation>実行を開始しません: -start-at %1 は時刻 (hh:mm) ではありません。</translation>
    </message>
    <message>
        <source>The run is held until %1; Stop cancels the start.</source>
        <translation>実行は %1 まで待機中です。Stop で開始を取り消します。</translation>
    </message>
    <message>
        <source>The run starts at %1 (in %2); Stop cancels the start.</source>
        <translation>実行は %1 に開始します (あと %2)。Stop で開始を取り消します。</translation>
    </message>
    <message>
        <source>The start at %1 is cancelled.</source>
        <translation>%1 の開始を取り消しました。</translation>
    </message>
    <message>
        <source>Run finished by the deadline %1.</source>
        <translation>期限 %1 により実行が終了しました。</translation>
    </message>
    <message>
        <source>Entry %1 (estimated %2) %3 (END_BY): entries %4 are not begun; the run ends.</source>
        <translation>エントリ %1 (見積もり %2) は %3 (END_BY)。エントリ %4 は開始せず、実行を終了します。</translation>
    </message>
    <message>
        <source>The run ends by %1 (END_BY): no entry is begun that would end later.</source>
        <translation>実行は %1 までに終えます (END_BY)。それより後に終わる見込みのエントリは開始しません。</translation>
    </message>
    <message>
        <source>Night report: %1</source>
        <translation>ナイトレポート: %1</translation>
    </message>
    <message>
        <source>Run finished by the deadline %1: %2 entries done, %3 failed, %4 not begun (they would end after it), in %5.</source>
        <translation>期限 %1 により実行終了: 完了 %2 行、失敗 %3 行、未開始 %4 行 (期限より後に終わる見込み)、所要 %5。</translation>
    </message>
    <message>
        <source>MAX_ENTRY_ATTEMPTS %1 is not a whole number above 0; %2 is used.</source>
        <translation>MAX_ENTRY_ATTEMPTS %1 は 0 より大きい整数ではありません。%2 を使います。</translation>
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
    <name>ScanPlan</name>
    <message>
        <source>Blocks %1 and %2 both measure %3 eV: a point is measured twice where they meet.</source>
        <translation>ブロック %1 と %2 がどちらも %3 eV を測定します: 境界の点が 2 回測定されます。</translation>
    </message>
    <message>
        <source>The step jumps from %1 eV in block %2 to %3 eV in block %4 (more than a factor 3).</source>
        <translation>ステップがブロック %2 の %1 eV からブロック %4 の %3 eV へ 3 倍を超えて変わります。</translation>
    </message>
    <message>
        <source>The region needs 0 &lt; k start &lt; k end, dk &gt; 0, t0 &gt; 0 and k0 &gt; 0.</source>
        <translation>領域には 0 &lt; k 開始 &lt; k 終了、dk &gt; 0、t0 &gt; 0、k0 &gt; 0 が必要です。</translation>
    </message>
    <message>
        <source>The region holds no step of dk.</source>
        <translation>領域に dk のステップが 1 つもありません。</translation>
    </message>
    <message>
        <source>No block is left for the region: %1 blocks end below it.</source>
        <translation>領域に使えるブロックが残っていません: %1 個のブロックが領域の下で終わります。</translation>
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
    <message>
        <source>Target element &quot;%1&quot; is not in the X-ray table.</source>
        <translation>測定元素「%1」は X 線データ表にありません。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an edge name (%2).</source>
        <translation>「%1」は吸収端の名前ではありません (%2)。</translation>
    </message>
    <message>
        <source>%1 has no %2 edge in the X-ray table.</source>
        <translation>X 線データ表に %1 の %2 吸収端はありません。</translation>
    </message>
    <message>
        <source>The %1 %2 edge (%3 eV) is outside the range of crystal %4 (%5 - %6 eV).</source>
        <translation>%1 %2 吸収端 (%3 eV) は分光結晶 %4 の範囲 (%5 - %6 eV) の外です。</translation>
    </message>
    <message>
        <source>Measurement times must be given.</source>
        <translation>測定時間を指定してください。</translation>
    </message>
    <message>
        <source>Measurement time &quot;%1&quot; is not a positive number.</source>
        <translation>測定時間「%1」は正の数ではありません。</translation>
    </message>
    <message>
        <source>Block %1: Points must be 1 or more.</source>
        <translation>ブロック %1: 点数は 1 以上にしてください。</translation>
    </message>
    <message>
        <source>Block %1 does not end above its start.</source>
        <translation>ブロック %1 の終点が始点より上にありません。</translation>
    </message>
    <message>
        <source>The data file name &quot;%1&quot; holds characters the bus cannot carry.</source>
        <translation>データファイル名「%1」にはバスで送れない文字が含まれています。</translation>
    </message>
    <message>
        <source>The comment holds characters the bus cannot carry; the target receives &quot;?&quot; in their place.</source>
        <translation>コメントにはバスで送れない文字が含まれています。測定プログラムには代わりに「?」が届きます。</translation>
    </message>
    <message>
        <source>Entry %1 above writes the same data file %2; this entry overwrites it.</source>
        <translation>上の %1 行目が同じデータファイル %2 に書き込みます。この行はそれを上書きします。</translation>
    </message>
    <message>
        <source>Holder No. must be given: the sample changer would be sent an empty position.</source>
        <translation>ホルダー番号を入力してください: 試料交換機に空の位置が送られてしまいます。</translation>
    </message>
    <message>
        <source>Holder No. &quot;%1&quot; is not a position of the sample changer (%2 to %3).</source>
        <translation>ホルダー番号「%1」は試料交換機の位置 (%2 から %3) ではありません。</translation>
    </message>
    <message>
        <source>Holder No. &quot;%1&quot; holds characters the bus cannot carry.</source>
        <translation>ホルダー番号「%1」にはバスで送れない文字が含まれています。</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not one of the choices (%3); &quot;%4&quot; stands in its place.</source>
        <translation>%1: 「%2」は選択肢 (%3) にありません。代わりに「%4」を使います。</translation>
    </message>
    <message>
        <source>No monochromator crystal is configured: angles are converted with the default lattice spacing, %1 A.</source>
        <translation>分光結晶が設定されていません: 角度は既定の格子面間隔 %1 A で換算します。</translation>
    </message>
    <message>
        <source>Meas. Time(s) gives %1 dwell times for %2 blocks; the last one, %3 s, is used for the blocks after it.</source>
        <translation>測定時間(s) には %2 ブロックに対して測定時間が %1 個しかありません。残りのブロックには最後の %3 s を使います。</translation>
    </message>
    <message>
        <source>Block %1 reaches %2 eV, past the range of crystal %3 (%4 - %5 eV).</source>
        <translation>ブロック %1 は %2 eV に達し、分光結晶 %3 の範囲 (%4 - %5 eV) を超えます。</translation>
    </message>
    <message>
        <source>Estimated duration (h:mm:ss ± spread) after the ticked entry above, moves and the journal&apos;s calibration included; operator prompts not counted</source>
        <translation>見積もり時間 (h:mm:ss ± ばらつき)。上のチェック済みエントリの後に測る場合で、移動とジャーナルによる補正を含み、オペレーター確認の待ち時間は含みません</translation>
    </message>
</context>
<context>
    <name>ScheduleHistory</name>
    <message>
        <source>Edit entry %1</source>
        <translation>%1 行目を編集</translation>
    </message>
</context>
<context>
    <name>ScheduleModel</name>
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
    <message>
        <source>Comment</source>
        <translation>コメント</translation>
    </message>
    <message>
        <source>Data file</source>
        <translation>データファイル</translation>
    </message>
    <message>
        <source>Element</source>
        <translation>測定元素</translation>
    </message>
    <message>
        <source>Edge</source>
        <translation>吸収端</translation>
    </message>
    <message>
        <source>Crystal</source>
        <translation>分光結晶</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>検出モード</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>ダーク</translation>
    </message>
    <message>
        <source>Tuning</source>
        <translation>チューニング</translation>
    </message>
    <message>
        <source>Blocks by</source>
        <translation>ブロック定義</translation>
    </message>
</context>
<context>
    <name>Tolva</name>
    <message>
        <source>The bus carries Latin-1 only: %1 sent as &quot;?&quot; in [%2]</source>
        <translation>バスは Latin-1 の文字しか送れません: %1 を &quot;?&quot; として送信しました [%2]</translation>
    </message>
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
    <message>
        <source>Tolva sent no challenge within %1 s; the connection is closed.</source>
        <translation>Tolva から %1 秒以内にチャレンジが届かないため、接続を閉じます。</translation>
    </message>
    <message>
        <source>Tolva did not answer the key within %1 s; the connection is closed.</source>
        <translation>Tolva が %1 秒以内にキーに応答しないため、接続を閉じます。</translation>
    </message>
    <message>
        <source>Connecting to Tolva abandoned.</source>
        <translation>Tolva への接続を中止しました。</translation>
    </message>
    <message>
        <source>Cannot connect to Tolva: %1</source>
        <translation>Tolva に接続できません: %1</translation>
    </message>
    <message>
        <source>The bus server refused the login: %1</source>
        <translation>バスサーバーがログインを拒否しました: %1</translation>
    </message>
    <message>
        <source>Tolva: no longer reconnecting.</source>
        <translation>Tolva: 再接続をやめました。</translation>
    </message>
    <message>
        <source>Tolva: the connection to the bus server is down; Skedra reconnects by itself (first try in %1 s, then at most every %2 s).</source>
        <translation>Tolva: バスサーバーとの接続が切れました。Skedra が自動で再接続します (最初は %1 秒後、その後は最長 %2 秒ごと)。</translation>
    </message>
    <message>
        <source>Tolva: connected again to the bus server.</source>
        <translation>Tolva: バスサーバーに再接続しました。</translation>
    </message>
    <message>
        <source>reconnecting (try %1 in %2 s)</source>
        <translation>再接続中 (%2 秒後に %1 回目)</translation>
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
        <source>Run finished; quitting (-quit-when-done).</source>
        <translation>実行が終了しました。プログラムを終了します (-quit-when-done)。</translation>
    </message>
    <message>
        <source>Run ended on an error; quitting (-quit-when-done).</source>
        <translation>エラーで実行が止まりました。プログラムを終了します (-quit-when-done)。</translation>
    </message>
    <message>
        <source>-resume-last: the last run in %1 ended; nothing to resume.</source>
        <translation>-resume-last: %1 の最後の実行は終了しています。再開するものはありません。</translation>
    </message>
    <message>
        <source>-resume-last: %1 is not loaded; the run cut short goes on instead.</source>
        <translation>-resume-last: %1 は読み込みません。代わりに中断された実行を続行します。</translation>
    </message>
    <message>
        <source>Resuming the run (-resume-last).</source>
        <translation>実行を再開します (-resume-last)。</translation>
    </message>
    <message>
        <source>-entries is not used: the run cut short goes on with its own entries.</source>
        <translation>-entries は使いません: 中断された実行を元の行で続けます。</translation>
    </message>
    <message>
        <source>No run is started.</source>
        <translation>実行は開始しません。</translation>
    </message>
    <message>
        <source>Not logged in to the bus server at %1:%2 after %3 s (WAIT_LIMIT)</source>
        <translation>%3 秒 (WAIT_LIMIT) 待ってもバスサーバー %1:%2 にログインできません</translation>
    </message>
    <message>
        <source>The target %1 has not logged in to the bus after %2 s (WAIT_LIMIT)</source>
        <translation>%2 秒 (WAIT_LIMIT) 待っても測定プログラム %1 がバスにログインしません</translation>
    </message>
    <message>
        <source>no run is started.</source>
        <translation>実行は開始しません。</translation>
    </message>
    <message>
        <source>Asked to quit by a signal: the run stops and Skedra ends.</source>
        <translation>シグナルで終了を求められました: 実行を停止して Skedra を終了します。</translation>
    </message>
    <message>
        <source>Entries that failed or were not measured earlier in the night: %1.</source>
        <translation>この夜の以前の実行で失敗した、または測定されなかった行: %1。</translation>
    </message>
</context>
</TS>
