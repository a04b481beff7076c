-- Neovim's built-in LSP client driving `spellcheck lsp`.
--
-- Run: SPELLCHECK_TOOL=TOOL SPELLCHECK_SCRATCH=DIR \
--        nvim --headless -u NONE -i NONE -c 'luafile lsp-neovim-test.lua'
--
-- DIR is a folder the test may fill (it holds the document and the custom
-- dictionary; HOME and the XDG folders should point into it). Checked: the
-- diagnostics of misspelled words land at their places, also after
-- non-ASCII characters and an emoji (the client counts UTF-16 units and
-- shows bytes); "Replace with" applied as a workspace edit fixes the text
-- and the word's diagnostic goes; "Add to dictionary" run through
-- workspace/executeCommand writes the custom dictionary and takes the
-- word's diagnostic away. Exit status 0 with a PASS line, else cquit 1
-- with the failures (also written to DIR/results.txt).

local tool = os.getenv('SPELLCHECK_TOOL')
local scratch = os.getenv('SPELLCHECK_SCRATCH')
local failures = {}
local timeout = 10000

local function check(condition, message)
  if not condition then table.insert(failures, message) end
  return condition
end

local function finish()
  local results = io.open(scratch .. '/results.txt', 'w')
  if #failures == 0 then
    if results then results:write('PASS\n') results:close() end
    io.stdout:write('PASS neovim lsp client\n')
    vim.cmd('qall!')
  else
    local text = 'FAIL neovim lsp client: ' .. table.concat(failures, '; ') .. '\n'
    if results then results:write(text) results:close() end
    io.stderr:write(text)
    vim.cmd('cquit 1')
  end
end

-- The diagnostics of the buffer by word, from each one's data.
local function diagnostics_by_word(bufnr)
  local words = {}
  for _, d in ipairs(vim.diagnostic.get(bufnr)) do
    local data = d.user_data and d.user_data.lsp and d.user_data.lsp.data
    if data and data.word then words[data.word] = d end
  end
  return words
end

local function code_actions(bufnr, lnum, word)
  for _, diagnostic in ipairs(vim.lsp.diagnostic.get_line_diagnostics(bufnr, lnum)) do
    if diagnostic.data and diagnostic.data.word == word then
      local params = {
        textDocument = { uri = vim.uri_from_bufnr(bufnr) },
        range = diagnostic.range,
        context = { diagnostics = { diagnostic } },
      }
      local answers = vim.lsp.buf_request_sync(bufnr, 'textDocument/codeAction', params, timeout)
      for _, answer in pairs(answers or {}) do
        if answer.result then return answer.result end
      end
    end
  end
  return {}
end

local function find_action(actions, title)
  for _, action in ipairs(actions) do
    if action.title == title then return action end
  end
  return nil
end

local function run()
  assert(tool and scratch, 'SPELLCHECK_TOOL and SPELLCHECK_SCRATCH must be set')
  local path = scratch .. '/document.txt'
  local file = assert(io.open(path, 'w'))
  file:write('The wrold is round.\nZoë says 😀 qiuck now.\n')
  file:close()
  os.remove(scratch .. '/cust.dic')
  vim.cmd('edit ' .. vim.fn.fnameescape(path))
  local bufnr = vim.api.nvim_get_current_buf()

  local client_id = vim.lsp.start_client({
    name = 'spellcheck',
    cmd = { tool, 'lsp' },
    root_dir = scratch,
    init_options = { spellcheck = { dictionaries = { custom = scratch .. '/cust.dic' } } },
  })
  if not check(client_id, 'the client did not start') then return end
  vim.lsp.buf_attach_client(bufnr, client_id)

  local ready = vim.wait(timeout, function()
    local words = diagnostics_by_word(bufnr)
    return words.wrold ~= nil and words.qiuck ~= nil
  end, 20)
  if not check(ready, 'no diagnostics for wrold and qiuck') then return end
  local words = diagnostics_by_word(bufnr)
  check(words.wrold.lnum == 0 and words.wrold.col == 4 and words.wrold.end_col == 9,
        ('wrold at %d:%d-%d'):format(words.wrold.lnum, words.wrold.col, words.wrold.end_col))
  -- Zoë and the emoji: 5 + 4 bytes before the word, 4 + 2 UTF-16 units.
  check(words.qiuck.lnum == 1 and words.qiuck.col == 15 and words.qiuck.end_col == 20,
        ('qiuck at %d:%d-%d'):format(words.qiuck.lnum, words.qiuck.col, words.qiuck.end_col))
  check(words.wrold.source == 'spellcheck' and words.wrold.message == "Unknown word 'wrold'",
        'wrold: ' .. tostring(words.wrold.message))

  -- Replace with the best suggestion; the edit reaches the server incrementally.
  local replace = find_action(code_actions(bufnr, 0, 'wrold'), "Replace with 'world'")
  if not check(replace and replace.edit, "no \"Replace with 'world'\" action") then return end
  vim.lsp.util.apply_workspace_edit(replace.edit, 'utf-16')
  check(vim.api.nvim_buf_get_lines(bufnr, 0, 1, false)[1] == 'The world is round.',
        'the replacement was not applied')
  check(vim.wait(timeout, function() return diagnostics_by_word(bufnr).wrold == nil end, 20),
        'wrold still has a diagnostic after the replacement')

  -- Add to the dictionary through the command.
  local add = find_action(code_actions(bufnr, 1, 'qiuck'), "Add 'qiuck' to the dictionary")
  if not check(add and add.command, "no \"Add 'qiuck' to the dictionary\" action") then return end
  local client = vim.lsp.get_client_by_id(client_id)
  local answer = client.request_sync('workspace/executeCommand', add.command, timeout, bufnr)
  check(answer and not answer.err, 'executeCommand failed: ' .. vim.inspect(answer))
  check(vim.wait(timeout, function() return diagnostics_by_word(bufnr).qiuck == nil end, 20),
        'qiuck still has a diagnostic after it was added')
  check(vim.fn.filereadable(scratch .. '/cust.dic') == 1, 'no custom dictionary was written')
  -- The other words stay where they are.
  check(diagnostics_by_word(bufnr)['Zoë'] ~= nil, 'Zoë lost its diagnostic')

  client.stop()
  vim.wait(timeout, function() return client.is_stopped() end, 20)
end

local ok, problem = pcall(run)
if not ok then table.insert(failures, 'error: ' .. tostring(problem)) end
finish()
